#pragma once
// The build's two questions: the version (required) and the password (optional).
#include <optional>
#include <string>

#include "core/Context.h"

namespace builder {

// Asks until the answer is accepted; nothing when the user leaves it empty or cancels.
std::optional<std::string> AskVersion(core::Context& ctx);
// Asks until the answer is accepted; "" is accepted and means no password.
std::string AskPassword(core::Context& ctx);

}  // namespace builder
