#pragma once
// An embedded object shown as an icon: the icon of the file's type with its
// label written under it, as Excel shows such an object.
#include <string>

#include "automation/Pictures.h"

namespace render {

automation::Picture drawIcon(const std::string& filePath, const std::string& label);

}  // namespace render
