#include "automation/ObjectFactory.h"

#include "automation/AutomationError.h"

namespace automation {

namespace {
[[noreturn]] void cannotCreate() {
    throw AutomationError(errnum::kCannotCreateObject, "ActiveX component can't create object");
}
}  // namespace

std::shared_ptr<word::Application> ObjectFactory::CreateWord() { cannotCreate(); }

std::shared_ptr<powerpoint::Presentation> ObjectFactory::GetPresentation(const std::string&) { cannotCreate(); }

}  // namespace automation
