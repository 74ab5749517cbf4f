#pragma once
// The four macro texts every Presentation carries, as the builder adds them
// to its macro project (CodeModule.AddFromString): VBA source whose lines
// each end with a carriage return. They are kept in macros/text/*.bas.
#include <string>

namespace macros {

// The code of the "ThisWorkbook" component: Workbook_Open, Workbook_BeforeClose.
const std::string& WorkbookEventText();
// The standard module: the public declarations and the runtime procedures.
const std::string& ModuleText();
// The code of the form "Us_Menu", the Presentation Menu.
const std::string& MenuFormText();
// The code of the form "Userform00", the blank backdrop behind the menu.
const std::string& BackdropText();

}  // namespace macros
