// A sheet as the player shows and prints it, for checks against other
// programs:
//   tavolex_sheet_tool texts FILE SHEET             row, column and shown text of each cell (tab-separated)
//   tavolex_sheet_tool pdf FILE SHEET OUT.pdf       its printed pages, as its page setup says
//   tavolex_sheet_tool png FILE SHEET OUT.png [PX]  the whole sheet as the view draws it, PX pixels a point
// The sheet is found whatever its visibility (a Presentation's are very
// hidden). Exit code 1 with a message on stderr when it cannot be done.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <iostream>

#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "office/model/WorkbookModel.h"
#include "render/GuiApplication.h"
#include "render/SheetPages.h"
#include "render/SheetPainter.h"

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (argc < 4 || (command != "texts" && argc < 5)) {
        std::cerr << "usage: tavolex_sheet_tool texts|pdf|png FILE SHEET [OUT] [PIXELS_PER_POINT]\n";
        return 1;
    }
    try {
        const office::WorkbookModel model = office::readXlsFile(argv[2], "");
        const office::SheetModel* sheet = nullptr;
        for (const auto& candidate : model.sheets)
            if (candidate.name == argv[3]) sheet = &candidate;
        if (!sheet) {
            std::cerr << "no sheet " << argv[3] << "\n";
            return 1;
        }
        const office::ShownSheet shown = office::ShowSheet(model, *sheet);
        if (command == "texts") {
            for (const auto& cell : shown.cells)
                if (!cell.text.empty()) std::cout << cell.row << '\t' << cell.column << '\t' << cell.text << '\n';
            return 0;
        }
        render::ensureGuiApplication();
        if (command == "pdf") {
            QPdfWriter writer(QString::fromLocal8Bit(argv[4]));
            render::ApplyPageSetup(sheet->pageSetup, writer);
            QPainter painter(&writer);
            std::cout << render::PaintSheetPages(shown, sheet->pageSetup, painter, writer) << " pages\n";
            return 0;
        }
        const double scale = argc > 5 ? std::stod(argv[5]) : 96.0 / 72.0;
        const render::SheetPainter painter(shown);
        QImage image((painter.size() * scale).toSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.scale(scale, scale);
            painter.paint(p, QRectF(QPointF(0, 0), painter.size()));
        }
        if (!image.save(QString::fromLocal8Bit(argv[4]))) {
            std::cerr << "cannot write " << argv[4] << "\n";
            return 1;
        }
        return 0;
    } catch (const automation::AutomationError& error) {
        std::cerr << error.description() << "\n";
        return 1;
    }
}
