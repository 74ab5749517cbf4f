#include "automation/AutomationError.h"

namespace automation {

AutomationError::AutomationError(long number, std::string description, std::string file,
                                 std::int64_t offset)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      file_(std::move(file)),
      offset_(offset) {}

void raiseCannotCreateObject() {
    throw AutomationError(errnum::kCannotCreateObject, "ActiveX component can't create object");
}

}  // namespace automation
