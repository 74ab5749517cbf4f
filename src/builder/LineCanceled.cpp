#include "builder/LineCanceled.h"

namespace builder {

void ShowLineCanceled(core::Context& ctx, long number, const std::string& description, const std::string& fileName,
                      const std::string& lineDescription) {
    const char cr = '\r';
    ctx.msgBox(std::string("Error!!!!") + cr + std::to_string(number) + "    " + description + cr + "Filename: " +
               fileName + cr + "Line description: " + lineDescription + "  (canceled!)");
}

}  // namespace builder
