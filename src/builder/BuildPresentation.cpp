#include "builder/BuildPresentation.h"

#include <cstdio>
#include <random>

#include "automation/AutomationError.h"
#include "builder/BuildPrompts.h"
#include "builder/DocumentEmbedding.h"
#include "builder/LineCanceled.h"
#include "builder/SheetTransfer.h"
#include "core/Text.h"
#include "macros/MacroTexts.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "text/CaseFold.h"

namespace builder {

namespace excel = automation::excel;
namespace vbe = automation::vbe;
using automation::AutomationError;
using automation::Variant;

namespace {

const char kCr = '\r';
constexpr double kWarningFontSize = 12;
constexpr double kWarningRowHeight = 40;
constexpr double kWarningColumnWidth = 50;
const char* const kProjectName = "TavolexVBP";

std::string cellText(excel::Worksheet& sheet, long row, long column) {
    return core::Trim(sheet.Cells(row, column)->Value().toText());
}

bool rowIsUsed(excel::Worksheet& sheet, long row) { return !cellText(sheet, row, store::kColId).empty(); }

// A hidden name beside the Presentation, unique to this build, so that two
// builds of one name never write into each other's file.
std::string temporaryPathFor(const std::string& folder, const std::string& fileName) {
    std::random_device random;
    const auto tag = (static_cast<unsigned long long>(random()) << 32) | random();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", tag);
    return folder + "." + fileName + ".tavolex-build-" + hex + ".xls";
}

class Build {
public:
    Build(core::Context& ctx, std::string version, std::string password, const ProgressReport& progress,
          int& status)
        : ctx_(ctx), version_(std::move(version)), password_(std::move(password)), progress_(progress),
          status_(status) {}
    Build(const Build&) = delete;
    Build& operator=(const Build&) = delete;
    // Whatever way the build ends, the temporary file goes.
    ~Build() { removeTemporary(); }

    void run() {
        report({});
        const std::string fileName = ctx_.state.SelectedGroup + " - " + version_ + ".xls";
        ctx_.state.PresentationPath = ctx_.state.DataFolder + fileName;
        temporaryPath_ = temporaryPathFor(ctx_.state.DataFolder, fileName);
        try {
            store::OpenBaseWorkbook(ctx_);
            makeCover();
            copyDataSheet();
            keepGroupRows();
            startWord();
            carryLines();
            quitWord();
            checkPageRanges();
            hideAndProtectSheets();
            writeMacroProject();
            finish();
            store::CloseBaseWorkbookDiscard(ctx_);
        } catch (const AutomationError& error) {
            quitWord();
            removeTemporary();
            store::FatalError(ctx_, error);
        }
    }

private:
    void report(BuildProgress progress) {
        if (progress_) progress_(progress);
    }

    excel::Worksheet& data() { return *data_; }

    void makeCover() {
        excel::Application& excelApp = *ctx_.state.ExcelApp;
        book_ = excelApp.GetWorkbooks().Add();
        auto start = book_->AddWorksheet();
        start->SetName(store::kStartSheet);
        auto cell = start->Cells(1, 1);
        cell->SetValue(ctx_.tr("Remove the Execution Macro Protection! (Tools ==> Macro ==> Protection)",
                               "Togliere la protezione sull'esecuzione delle Macro! (Strumenti ==> Macro ==> "
                               "Protezione)"));
        cell->GetFont().SetBold(true);
        cell->GetFont().SetSize(kWarningFontSize);
        cell->SetHorizontalAlignment(excel::HAlign::Center);
        cell->SetVerticalAlignment(excel::VAlign::Center);
        start->Rows(1)->SetRowHeight(kWarningRowHeight);
        start->Columns("A:A")->SetColumnWidth(kWarningColumnWidth);
        cell->SetBorderLineStyle(excel::LineStyle::Continuous);
        cell->SetWrapText(true);

        excelApp.SetDisplayAlerts(false);
        for (long index = book_->SheetCount(); index >= 1; --index) {
            auto sheet = book_->SheetAt(index);
            if (!text::equalsIgnoringCase(sheet->Name(), store::kStartSheet)) sheet->Delete();
        }
        book_->SaveAs(temporaryPath_);
        temporaryWritten_ = true;
        excelApp.SetDisplayAlerts(true);
    }

    void copyDataSheet() {
        auto& base = *ctx_.state.DataSheet;
        base.SetVisible(excel::SheetVisibility::Visible);
        base.Copy(*book_->SheetAt(1));
        ctx_.state.BaseWorkbook->Close(false);
        ctx_.state.DataSheet.reset();
        ctx_.state.BaseWorkbook.reset();
        data_ = book_->Worksheets(store::kDataSheet);

        data().Cells(store::kSettingsRow, store::kSettingsColumn)
            ->SetValue(version_ + "|" + ctx_.state.TitleText + "|" + ctx_.state.LanguageCode + "|" + password_);
        data().Columns("L:L")->SetHidden(true);
        data().Columns("A:Z")->SetHidden(true);
        data().SetEnableSelection(excel::SelectionMode::NoSelection);
        data().SetVisible(excel::SheetVisibility::VeryHidden);
    }

    // Rows of other groups go; runs of them in one deletion, which moves the
    // rows below up just as one deletion per row does.
    void keepGroupRows() {
        long row = store::kFirstLineRow;
        while (row <= store::kLastLineRow && rowIsUsed(data(), row)) {
            long last = row;
            while (last <= store::kLastLineRow && rowIsUsed(data(), last) && !inGroup(last)) ++last;
            if (last == row) {
                ++row;
                continue;
            }
            data().GetRange(std::to_string(row) + ":" + std::to_string(last - 1))->Delete();
        }
        data().GetRange("A:AZ")->Sort(*data().GetRange("K1"), true);
    }

    bool inGroup(long row) {
        return text::equalsIgnoringCase(cellText(data(), row, store::kColGroup), ctx_.state.SelectedGroup);
    }

    bool excluded(long row) { return text::equalsIgnoringCase(cellText(data(), row, store::kColExclusion), "S"); }

    // Word serves the measuring of documents; without one the lines that
    // need it cancel themselves.
    void startWord() {
        try {
            word_ = ctx_.objects.CreateWord();
        } catch (const AutomationError&) {
            word_.reset();
        }
    }

    void quitWord() {
        if (!word_) return;
        try {
            word_->Quit(automation::word::kDoNotSaveChanges);
        } catch (const AutomationError&) {
        }
        word_.reset();
    }

    void protectData() { data().Protect(ctx_.state.BasePassword, true, true, true); }
    void unprotectData() { data().Unprotect(ctx_.state.BasePassword); }

    void cancelLine(long row) {
        status_ = 1;
        data().Rows(row)->Delete();
    }

    void carryLines() {
        BuildProgress progress;
        for (long row = store::kFirstLineRow; row <= store::kLastLineRow && rowIsUsed(data(), row); ++row)
            if (!excluded(row)) ++progress.total;
        report(progress);

        long row = store::kFirstLineRow;
        while (row <= store::kLastLineRow && rowIsUsed(data(), row)) {
            if (excluded(row)) {
                ++row;
                continue;
            }
            progress.description = cellText(data(), row, store::kColDescription);
            progress.canceled = !carryLine(row, progress.description);
            ++progress.done;
            if (progress.canceled)
                cancelLine(row);  // the next line moves up into this row
            else
                ++row;
            protectData();
            report(progress);
        }
    }

    // False when the line cannot be carried (after its message); "DATA" is
    // left unprotected then, so its row can go.
    bool carryLine(long row, const std::string& description) {
        const std::string fileName = cellText(data(), row, store::kColFileName);
        unprotectData();
        if (!ctx_.state.FileSystem->FileExists(fileName)) {
            ctx_.msgBox(fileName + ctx_.tr("  Does not exist!", "  Non esiste!") + kCr +
                        ctx_.tr("Line description: ", "Descrizione riga: ") + description +
                        ctx_.tr("  (canceled!)", "  (eliminata!)"));
            return false;
        }
        protectData();
        const std::string inputSheet = cellText(data(), row, store::kColInputSheet);
        const std::string outputSheet = cellText(data(), row, store::kColOutputSheet);
        const Variant firstPage = data().Cells(row, store::kColFirstPage)->Value();
        const Variant lastPage = data().Cells(row, store::kColLastPage)->Value();
        const bool workbook = core::UpperAscii(store::FileExtension(fileName)) == "XLS";

        int lineStatus = 0;
        try {
            if (workbook) {
                TransferSheet(ctx_, *book_, fileName, inputSheet, outputSheet, description, lineStatus);
                unprotectData();
            } else {
                unprotectData();
                EmbedDocument(ctx_, *book_, fileName, row, firstPage, lastPage, description, lineStatus);
            }
        } catch (const AutomationError& error) {
            // A line that cannot be carried, whatever the reason, costs only that line.
            ShowLineCanceled(ctx_, error.number(), error.description(), fileName, description);
            lineStatus = 1;
            unprotectData();
        }
        return lineStatus == 0;
    }

    void checkPageRanges() {
        unprotectData();
        long row = store::kFirstLineRow;
        while (row <= store::kLastLineRow && rowIsUsed(data(), row)) {
            const std::string description = cellText(data(), row, store::kColDescription);
            const std::string fileName = cellText(data(), row, store::kColFileName);
            const double firstPage = data().Cells(row, store::kColFirstPage)->Value().toNumber();
            const double lastPage = data().Cells(row, store::kColLastPage)->Value().toNumber();
            auto objectCell = data().Cells(row, store::kColObjectName);
            const std::string object = objectCell->Value().toText();
            const auto bar = object.find('|');
            if (bar == std::string::npos) {
                ++row;
                continue;
            }
            const std::string afterBar = object.substr(bar + 1);
            const double count = Variant(afterBar.substr(0, afterBar.find('|'))).toNumber();
            objectCell->SetValue(object.substr(0, bar));
            const std::string where = std::string(1, kCr) + "Filename: " + fileName + kCr +
                                      ctx_.tr("Line description: ", "Descrizione riga: ") + description +
                                      ctx_.tr("  (canceled!)", "  (eliminata!)");
            if (firstPage > count) ctx_.msgBox(ctx_.tr("'From' > max value!", "'Da' > valore massimo.") + where);
            if (lastPage > count) ctx_.msgBox(ctx_.tr("'To' > max value!", "'A' > valore massimo.") + where);
            if (firstPage > count || lastPage > count)
                cancelLine(row);
            else
                ++row;
        }
    }

    void hideAndProtectSheets() {
        excel::Application& excelApp = *ctx_.state.ExcelApp;
        for (long index = 1; index <= book_->WorksheetCount(); ++index) {
            auto sheet = book_->WorksheetAt(index);
            // Only a shown sheet can be active, and the window works on the active one.
            sheet->SetVisible(excel::SheetVisibility::Visible);
            sheet->Activate();
            if (auto window = excelApp.ActiveWindow()) {
                window->SetDisplayGridlines(false);
                window->SetDisplayHeadings(false);
            }
            const std::string name = sheet->Name();
            if (text::equalsIgnoringCase(name, store::kStartSheet)) continue;
            sheet->SetEnableSelection(excel::SelectionMode::NoSelection);
            const bool isData = text::equalsIgnoringCase(name, store::kDataSheet);
            // The embedded files are opened by the Presentation's menu, never clicked on.
            if (isData)
                for (long object = 1; object <= sheet->OLEObjectCount(); ++object)
                    sheet->OLEObjects(object)->SetVisible(false);
            sheet->Protect(isData ? ctx_.state.BasePassword : password_, true, true, true);
            sheet->SetVisible(excel::SheetVisibility::VeryHidden);
        }
        book_->Worksheets(store::kStartSheet)->Activate();
    }

    void writeMacroProject() {
        vbe::VBE& editor = ctx_.state.ExcelApp->GetVBE();
        std::shared_ptr<vbe::VBProject> project;
        vbe::VBProjects& projects = editor.GetVBProjects();
        for (long index = 1; index <= projects.Count() && !project; ++index) {
            auto candidate = projects.Item(index);
            try {
                if (candidate->FileName() == book_->FullName()) project = candidate;
            } catch (const AutomationError&) {
                // A project whose file name cannot be read is not ours.
            }
        }
        // A Presentation without its macros would not run: that is no success.
        if (!project)
            throw AutomationError(automation::errnum::kApplicationDefined,
                                  "The macro project of the Presentation cannot be reached.");

        vbe::VBComponents& components = project->GetVBComponents();
        try {
            components.Item("THISWORKBOOK")->GetCodeModule().AddFromString(macros::WorkbookEventText());
        } catch (const AutomationError& error) {
            if (error.number() != automation::errnum::kSubscriptOutOfRange) throw;
        }
        components.Add(vbe::ComponentType::StdModule)->GetCodeModule().AddFromString(macros::ModuleText());
        auto menu = components.Add(vbe::ComponentType::MSForm);
        menu->SetName("Us_Menu");
        menu->GetCodeModule().AddFromString(macros::MenuFormText());
        auto backdrop = components.Add(vbe::ComponentType::MSForm);
        backdrop->SetName("Userform00");
        backdrop->GetCodeModule().AddFromString(macros::BackdropText());

        project->SetName(kProjectName);
        editor.SetActiveVBProject(project);
        editor.LockActiveVBProject(ctx_.state.BasePassword);
    }

    // The whole Presentation goes over the earlier one in one step (the
    // engine writes beside it and renames); until then the earlier one stays.
    void finish() {
        book_->Protect(password_, true, false);
        book_->SaveAs(ctx_.state.PresentationPath);
        book_->Close(false);
        companions_ = ctx_.state.ExcelApp->CompanionFiles(temporaryPath_);
    }

    void removeTemporary() {
        if (!temporaryWritten_) return;
        temporaryWritten_ = false;
        if (companions_.empty() && ctx_.state.ExcelApp) companions_ = ctx_.state.ExcelApp->CompanionFiles(temporaryPath_);
        std::vector<std::string> leftovers = companions_;
        leftovers.push_back(temporaryPath_);
        for (const std::string& path : leftovers) {
            try {
                if (ctx_.state.FileSystem->FileExists(path)) ctx_.state.FileSystem->deletefile(path, true);
            } catch (const AutomationError&) {
                // A leftover hidden file harms nothing; the build's result stands.
            }
        }
    }

    core::Context& ctx_;
    const std::string version_;
    const std::string password_;
    const ProgressReport& progress_;
    int& status_;
    std::string temporaryPath_;
    bool temporaryWritten_ = false;
    std::vector<std::string> companions_;
    std::shared_ptr<excel::Workbook> book_;
    std::shared_ptr<excel::Worksheet> data_;
    std::shared_ptr<automation::word::Application> word_;
};

}  // namespace

std::string ProgressCaption(const BuildProgress& progress) {
    std::string caption = "Wait ...";
    if (progress.total > 0) caption += " " + std::to_string(progress.done) + "/" + std::to_string(progress.total);
    return caption;
}

std::string BuildReport(const core::Context& ctx, int BuildStatus) {
    const std::string& path = ctx.state.PresentationPath;
    const std::string extraLine =
        BuildStatus == 1 ? ctx.tr("*****  With errors!  *****", "*****  Con errori!  *****") : "";
    return ctx.tr("The file:\r" + path + "\rhas been created!", "E' stato creato il file: \r" + path) + "\r\r" +
           extraLine;
}

void BuildPresentation(core::Context& ctx, int& BuildStatus, const ProgressReport& progress) {
    BuildStatus = 0;
    // The group name becomes part of a file name: one written by another
    // program with a "/" in it must not lead the file out of the data folder.
    if (core::HasForbiddenNameCharacter(ctx.state.SelectedGroup)) {
        ctx.msgBox(ctx.tr("A Groupname does not contains the following characters: ",
                          "Un GroupName non puo' contenere i seguenti caratteri: ") +
                   "\\/:*?\"<>|\r" + ctx.state.SelectedGroup);
        BuildStatus = 9;
        return;
    }
    auto version = AskVersion(ctx);
    if (!version) {
        BuildStatus = 9;
        return;
    }
    const std::string password = AskPassword(ctx);
    Build build(ctx, *version, password, progress, BuildStatus);
    build.run();
}

}  // namespace builder
