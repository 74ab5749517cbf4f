#include "app/LinePdfMaking.h"

#include "app/LibreOfficePdfMaker.h"
#include "app/OutsideProgram.h"

namespace app {

std::unique_ptr<player::LinePdfMaker> MakeLinePdfMaker(core::Context& ctx) {
    std::string program = FindProgram("soffice");
    if (program.empty()) program = FindProgram("libreoffice");
    return std::make_unique<LibreOfficePdfMaker>(ctx, program);
}

}  // namespace app
