#pragma once
// The message of a line the build cannot carry, one wording for both
// languages: the error, the line's file and its description.
#include <string>

#include "core/Context.h"

namespace builder {

void ShowLineCanceled(core::Context& ctx, long number, const std::string& description, const std::string& fileName,
                      const std::string& lineDescription);

}  // namespace builder
