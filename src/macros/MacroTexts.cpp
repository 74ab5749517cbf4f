#include "macros/MacroTexts.h"

#include <cstddef>

namespace macros {
namespace data {
extern const unsigned char kWorkbookEvents[];
extern const std::size_t kWorkbookEventsSize;
extern const unsigned char kRuntimeModule[];
extern const std::size_t kRuntimeModuleSize;
extern const unsigned char kMenuForm[];
extern const std::size_t kMenuFormSize;
extern const unsigned char kBackdropForm[];
extern const std::size_t kBackdropFormSize;
}  // namespace data

namespace {
std::string textOf(const unsigned char* bytes, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(bytes), size);
}
}  // namespace

const std::string& WorkbookEventText() {
    static const std::string text = textOf(data::kWorkbookEvents, data::kWorkbookEventsSize);
    return text;
}

const std::string& ModuleText() {
    static const std::string text = textOf(data::kRuntimeModule, data::kRuntimeModuleSize);
    return text;
}

const std::string& MenuFormText() {
    static const std::string text = textOf(data::kMenuForm, data::kMenuFormSize);
    return text;
}

const std::string& BackdropText() {
    static const std::string text = textOf(data::kBackdropForm, data::kBackdropFormSize);
    return text;
}

}  // namespace macros
