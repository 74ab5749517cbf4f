#include "builder/DocumentEmbedding.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "automation/AutomationError.h"
#include "builder/LineCanceled.h"
#include "core/Text.h"
#include "probe/DocumentProbe.h"
#include "store/BaseWorkbook.h"
#include "text/CaseFold.h"

namespace builder {

namespace excel = automation::excel;
namespace word = automation::word;
using automation::AutomationError;

namespace {

constexpr long kDataFirstRow = 2;
constexpr long kColumnExclusion = 3, kColumnFile = 5, kColumnObject = 8;
// Far beyond any document: a guard should a document's pages never settle.
constexpr long kMostPages = 100000;

std::string cellText(excel::Worksheet& sheet, long row, long column) {
    return core::Trim(sheet.Cells(row, column)->Value().toText());
}

// Column 8 of the first earlier row, not excluded with "S", that names the same file.
std::optional<std::string> earlierObject(excel::Worksheet& sheet, const std::string& fileName, long row) {
    for (long earlier = kDataFirstRow; earlier < row; ++earlier) {
        if (text::equalsIgnoringCase(cellText(sheet, earlier, kColumnExclusion), "S")) continue;
        if (text::equalsIgnoringCase(cellText(sheet, earlier, kColumnFile), fileName))
            return cellText(sheet, earlier, kColumnObject);
    }
    return std::nullopt;
}

// Goes to page after page until going one further lands where the last one did.
long countPages(word::Document& document) {
    long page = 0;
    long start = 0, next = -1;
    while (start != next && page < kMostPages) {
        ++page;
        start = document.Goto(word::kGoToPage, word::kGoToAbsolute, page)->Start();
        next = document.Goto(word::kGoToPage, word::kGoToAbsolute, page + 1)->Start();
    }
    return page;
}

// The embedded copy opened in Word, counted and closed again.
long countEmbeddedPages(excel::OLEObject& object, std::shared_ptr<word::Application>& wordApp,
                        std::shared_ptr<word::Document>& opened) {
    object.Activate();
    opened = object.Object();
    wordApp = opened->GetApplication();
    wordApp->SetVisible(false);
    auto document = wordApp->ActiveDocument();
    if (!document) throw AutomationError(automation::errnum::kApplicationDefined, "Word opened no document.");
    const long pages = countPages(*document);
    document->Close(word::kDoNotSaveChanges);
    opened.reset();
    return pages;
}


}  // namespace

// Any failure of the embedding or of the count cancels this line alone: the
// object just added goes again, and the build carries on with the others.
void EmbedDocument(core::Context& ctx, excel::Workbook& workbook, const std::string& fileName, long row,
                   const automation::Variant&, const automation::Variant&, const std::string& description,
                   int& LineStatus) {
    LineStatus = 0;
    auto sheet = workbook.Worksheets("DATA");
    if (auto shared = earlierObject(*sheet, fileName, row)) {
        sheet->Cells(row, kColumnObject)->SetValue(automation::Variant(*shared));
        return;
    }
    std::shared_ptr<excel::OLEObject> object;
    std::shared_ptr<word::Application> wordApp;
    std::shared_ptr<word::Document> opened;  // the embedded copy while Word has it open
    long number = 0;
    std::string reason;
    try {
        object = sheet->AddOLEObject(fileName, false, true, 0, fileName);
        // Office needed half a second here to finish the insert in its object
        // server; the engine's insert is complete when the call returns, so
        // the build only lets the window repaint and goes on.
        ctx.windows.doEvents();
        const std::string kind = store::FileExtension(fileName);
        std::string objectText = object->Name();
        if (text::equalsIgnoringCase(kind, "PPT"))
            objectText += "|" + std::to_string(probe::CountSlides(ctx, fileName));
        else if (text::equalsIgnoringCase(kind, "DOC"))
            objectText += "|" + std::to_string(countEmbeddedPages(*object, wordApp, opened));
        sheet->Cells(row, kColumnObject)->SetValue(automation::Variant(objectText));
        return;
    } catch (const AutomationError& error) {
        number = error.number();
        reason = error.description();
    } catch (const std::exception& error) {
        number = automation::errnum::kApplicationDefined;
        reason = error.what();
    }
    if (object) {
        try {
            object->Delete();
        } catch (const AutomationError&) {
            // Gone already, or the sheet refuses: the message below still cancels the line.
        }
    }
    try {
        if (opened) opened->Close(word::kDoNotSaveChanges);
        if (wordApp) wordApp->SetVisible(false);
    } catch (const AutomationError&) {
        // Word went away meanwhile: nothing of the line is left open in it.
    }
    ShowLineCanceled(ctx, number, reason, fileName, description);
    LineStatus = 1;
}

}  // namespace builder
