#include "automation/WindowsServices.h"

#include "automation/AutomationError.h"

namespace automation {

void Platform::SaveShortcut(const Shortcut&) { raiseCannotCreateObject(); }
RemovalCheck Platform::ProgramRemoval(const std::string&) { raiseCannotCreateObject(); }
void Platform::DeleteAfterExit(const std::string&, long) { raiseCannotCreateObject(); }
std::string Platform::ApplicationsFolder() { raiseCannotCreateObject(); }
void Platform::SaveFileHandler(const FileHandlerEntry&) { raiseCannotCreateObject(); }
void Platform::StartProgram(const std::vector<std::string>&) { raiseCannotCreateObject(); }
std::vector<DriveInfo> Platform::ListDrives() { raiseCannotCreateObject(); }
std::vector<std::string> Platform::ListSubfolders(const std::string&) { raiseCannotCreateObject(); }
std::vector<std::string> Platform::ListFiles(const std::string&, const std::string&) { raiseCannotCreateObject(); }

}  // namespace automation
