#include "office/model/CellText.h"

#include <cstring>
#include <stdexcept>

namespace office {

CellText::CellText(std::string_view text) {
    if (text.empty()) return;
    if (text.size() > UINT32_MAX) throw std::length_error("a cell text longer than 4 GB");
    box_ = IntrusiveRef<std::uint32_t>::make(text.size(), static_cast<std::uint32_t>(text.size()));
    std::memcpy(box_.tail(), text.data(), text.size());
}

}  // namespace office
