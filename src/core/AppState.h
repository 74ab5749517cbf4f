#pragma once
// The process-wide values, one each for the life of the process, under the
// names every part of the program uses for them.
#include <memory>
#include <string>

#include "automation/Excel.h"
#include "automation/WindowsServices.h"

namespace core {

struct AppState {
    // Settled by start-up.
    std::string LanguageCode = "E";
    std::string TitleText = "Tavolex 1.1";
    std::string DataFolder;  // always ends with the path separator
    std::string BaseFileName;
    std::string BasePassword;
    std::shared_ptr<automation::FileSystem> FileSystem;

    // The open base workbook of the current command (all empty between commands).
    std::shared_ptr<automation::excel::Application> ExcelApp;
    std::shared_ptr<automation::excel::Workbook> BaseWorkbook;
    std::shared_ptr<automation::excel::Worksheet> DataSheet;

    double WaitTime = 0;  // seconds WaitSeconds pauses

    // Main window and group commands.
    std::string SelectedGroup;
    std::string GroupEditMode;  // "I" new group, "M" update

    bool BuildInProgress = false;

    // Chooser window.
    std::string ChooserMode;     // "FLD" folder, otherwise file
    std::string ChooserPattern;
    std::string ChooserCaption;
    std::string ChooserResult;

    bool italian() const { return LanguageCode == "I"; }
    // The English or the Italian text, by the language code.
    std::string text(const std::string& english, const std::string& italian) const {
        return this->italian() ? italian : english;
    }
};

}  // namespace core
