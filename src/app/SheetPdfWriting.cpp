#include "app/SheetPdfWriting.h"

#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <optional>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "render/SheetPages.h"
#include "text/CaseFold.h"

namespace app {

namespace {

struct ReadWorkbook {
    std::string path;
    office::WorkbookModel model;
};

}  // namespace

player::SheetPdfWriter MakeSheetPdfWriter() {
    auto read = std::make_shared<std::optional<ReadWorkbook>>();
    return [read](const player::PresentationFile& file, const player::PresentationLine& line,
                  const std::string& pdfPath) {
        // The engine's model carries the formats and the page setup; the
        // file is read again, read-only.
        if (!*read || (*read)->path != file.path()) *read = ReadWorkbook{file.path(), office::readXlsFile(file.path(), "")};
        const office::WorkbookModel& model = (*read)->model;
        for (const office::SheetModel& sheet : model.sheets) {
            if (!text::equalsIgnoringCase(sheet.name, line.outputSheet)) continue;
            const office::ShownSheet shown = office::ShowSheet(model, sheet);
            QPdfWriter writer(QString::fromStdString(pdfPath));
            writer.setCreator(QStringLiteral("Tavolex"));
            writer.setTitle(QString::fromStdString(line.description));
            render::ApplyPageSetup(sheet.pageSetup, writer);
            QPainter painter;
            if (!painter.begin(&writer))
                throw automation::AutomationError(automation::errnum::kPathFileAccess,
                                                  "\"" + pdfPath + "\" cannot be written.");
            render::PaintSheetPages(shown, sheet.pageSetup, painter, writer);
            painter.end();
            return;
        }
        throw automation::AutomationError(automation::errnum::kSubscriptOutOfRange,
                                          "its sheet \"" + line.outputSheet + "\" has been deleted.");
    };
}

}  // namespace app
