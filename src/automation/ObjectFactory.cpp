#include "automation/ObjectFactory.h"

#include "automation/AutomationError.h"

namespace automation {

std::shared_ptr<word::Application> ObjectFactory::CreateWord() { raiseCannotCreateObject(); }

std::shared_ptr<powerpoint::Presentation> ObjectFactory::GetPresentation(const std::string&) {
    raiseCannotCreateObject();
}

}  // namespace automation
