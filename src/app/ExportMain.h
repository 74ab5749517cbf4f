#pragma once
// `Tavolex --play "<Presentation>.xls" --export-pdf OUT.pdf`: what "Print
// the Presentation" prints, into one PDF, without a display.
#include <string>
#include <vector>

namespace app {

// True when the command line asks for the export.
bool IsExportRequest(const std::vector<std::string>& arguments);

// Exit status 0 when every printable line is in OUT, 1 when some could not
// be rendered (each named on standard error), 2 with the reason when
// nothing was written.
int RunExport(const std::vector<std::string>& arguments);

}  // namespace app
