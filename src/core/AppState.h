#pragma once
// The process-wide values, one each for the life of the process, under the
// names every part of the program uses for them.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>
#include <string>

#include "automation/Excel.h"
#include "automation/PowerPoint.h"
#include "automation/WindowsServices.h"
#include "automation/Word.h"

namespace core {

// One line of the DATA sheet as the line editor holds it.
struct LineRecord {
    automation::Variant LineId;  // column A; 0 for a line not saved yet
    std::string ExclusionCode;   // C: "", "S", "V" or "P"
    std::string Description;     // D
    std::string FileName;        // E
    std::string SheetName;       // F
    std::string OutSheetName;    // G
    std::string ObjectName;      // H
    automation::Variant FromPage;    // I
    automation::Variant ToPage;      // J
    automation::Variant SortNumber;  // K
};

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
    // The Presentation the last build wrote (or was writing); the caller reports and opens it.
    std::string PresentationPath;

    // Line editor and document probe.
    LineRecord CurrentLine;
    std::string LineEditMode;  // "I" new, "M" loaded (file missing), "V" loaded and probed, "C" deleting
    automation::Variant MaxPageCount;  // pages or slides of the line's document
    std::vector<std::int32_t> LineIds;  // DATA column A of each row of the line list
    std::array<int, 11> FieldErrors{};  // 1 where number box n (4, 5, 6) holds no number

    // The document probe's presentation and document while it counts them;
    // empty otherwise. FatalError closes what they hold.
    std::shared_ptr<automation::powerpoint::Presentation> ProbedPresentation;
    std::shared_ptr<automation::word::Document> ProbedDocument;

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
