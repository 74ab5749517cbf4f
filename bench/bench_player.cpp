// The player's start on a Presentation of 100 lines: opening the file
// read-only, reading its settings, lines and objects, and loading its menu
// (the list filled), the work before the menu appears; and a sheet of 300
// formatted rows with two pictures, shown and painted.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <filesystem>

#include "office/XlsFile.h"
#include "office/format/ShownSheet.h"
#include "office/model/WorkbookModel.h"
#include "player/PresentationFile.h"
#include "player/PresentationMenu.h"
#include "render/GuiApplication.h"
#include "render/SheetPainter.h"
#include "store/DataLayout.h"
#include "support/ScratchDataFolder.h"

namespace {

namespace fs = std::filesystem;

// One line built from the budget sample, then 100 lines of it in DATA.
struct Bench {
    testsupport::ScratchDataFolder data{"tavolex-bench-player"};
    std::string path;

    Bench() {
        const std::string budget = data.copySample("budget.xls");
        data.writeBase([&](automation::excel::Worksheet& sheet) {
            testsupport::writeRow(sheet, 2, {1.0, "Bench", "", "Summary", budget, "Summary", "Totals", "", {}, {}, 100.0});
        });
        path = data.buildPresentation("Bench", "1", "pw");

        auto excel = data.objects.CreateExcel();
        auto book = excel->GetWorkbooks().Open(path);
        book->Unprotect("pw");
        auto sheet = book->Worksheets(store::kDataSheet);
        sheet->Unprotect(data.ctx.state.BasePassword);
        for (long k = 1; k <= 100; ++k)
            testsupport::writeRow(*sheet, k + 1,
                                  {static_cast<double>(k), "Bench", k % 10 == 0 ? "V" : "",
                                   "Description of line " + std::to_string(k), budget, "Summary", "Totals"});
        book->Save();
        excel->Quit();
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

void BM_OpenPresentationAndLoadMenu(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        auto excel = b.data.objects.CreateExcel();
        player::PresentationFile file = player::PresentationFile::Open(*excel, b.path);
        player::Us_Menu menu(b.data.ctx, file, {});
        menu.ensureLoaded();
        if (menu.ListBox1.ListCount() != 90) {  // every tenth line is a "V" line
            state.SkipWithError("the menu does not list the 90 shown lines");
            break;
        }
        file.close();
        excel->Quit();
    }
}
BENCHMARK(BM_OpenPresentationAndLoadMenu)->Unit(benchmark::kMillisecond);

// The formatted sample with its Report's amount rows repeated down to row
// 300; `report` stays null when the sample has no such sheet.
struct ReportOf300Rows {
    office::WorkbookModel model = office::readXlsFile(testsupport::sharedSample("formatted.xls").string(), "");
    office::SheetModel* report = nullptr;

    ReportOf300Rows() {
        for (auto& sheet : model.sheets)
            if (sheet.name == "Report" && sheet.rows.all().size() >= 7) report = &sheet;
        if (!report) return;
        const std::vector<office::RowDef> amounts(report->rows.all().begin() + 2, report->rows.all().begin() + 7);
        while (report->rows.all().size() < 300) report->rows.all().push_back(amounts[report->rows.all().size() % amounts.size()]);
    }
    ReportOf300Rows(const ReportOf300Rows&) = delete;
    ReportOf300Rows& operator=(const ReportOf300Rows&) = delete;
};

// What the sheet view is given for a sheet of 300 formatted rows: the
// formatted sample's amount rows repeated, every text as its format shows it.
void BM_ShowSheetOf300FormattedRows(benchmark::State& state) {
    ReportOf300Rows sample;
    if (!sample.report) return state.SkipWithError("the formatted sample has no Report sheet");
    office::WorkbookModel& model = sample.model;
    office::SheetModel* report = sample.report;
    for (auto _ : state) {
        const office::ShownSheet shown = office::ShowSheet(model, *report);
        benchmark::DoNotOptimize(shown.cells.size());
    }
}
BENCHMARK(BM_ShowSheetOf300FormattedRows)->Unit(benchmark::kMillisecond);

// A picture store entry holding `png`, as the build stores a pasted chart.
office::StoredPicture storedPng(const std::vector<std::uint8_t>& png) {
    office::StoredPicture picture;
    picture.type = office::BlipType::Png;
    const auto length = static_cast<std::uint32_t>(17 + png.size());
    picture.blip = {0x00, 0x6E, 0x1E, 0xF0, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                    static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
    picture.blip.resize(picture.blip.size() + 17, 0xFF);
    picture.blip.insert(picture.blip.end(), png.begin(), png.end());
    return picture;
}

// The sheet view's whole work for a sheet of 300 formatted rows with two
// chart pictures: the shown sheet, the pictures decoded, and one full
// screen (1280 x 1024) painted off-screen.
void BM_PaintSheetOf300FormattedRowsWithTwoPictures(benchmark::State& state) {
    render::ensureGuiApplication();
    ReportOf300Rows sample;
    if (!sample.report) return state.SkipWithError("the formatted sample has no Report sheet");
    office::WorkbookModel& model = sample.model;
    office::SheetModel* report = sample.report;
    report->drawings.clear();
    for (std::uint32_t k = 0; k < 2; ++k) {
        // A chart-sized picture with some drawing in it.
        QImage big(480, 288, QImage::Format_ARGB32);
        big.fill(Qt::white);
        {
            QPainter painter(&big);
            painter.setBrush(Qt::blue);
            painter.drawPie(QRect(40, 24, 240, 240), 0, 16 * (120 + 90 * static_cast<int>(k)));
            painter.drawText(QRect(300, 24, 160, 40), Qt::AlignLeft, QStringLiteral("Chart %1").arg(k + 1));
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        big.save(&buffer, "PNG");
        model.pictures.push_back(storedPng(std::vector<std::uint8_t>(bytes.begin(), bytes.end())));
        office::DrawingObject object;
        object.kind = office::DrawingKind::Picture;
        object.picture = static_cast<std::uint32_t>(model.pictures.size());
        object.anchor.fromColumn = 6;
        object.anchor.fromRow = 2 + 20 * k;
        object.anchor.toColumn = 12;
        object.anchor.toRow = 18 + 20 * k;
        report->drawings.push_back(object);
    }
    QImage screen(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        const office::ShownSheet shown = office::ShowSheet(model, *report);
        const render::SheetPainter sheetPainter(shown);
        screen.fill(Qt::white);
        QPainter painter(&screen);
        painter.scale(96.0 / 72, 96.0 / 72);
        sheetPainter.paint(painter, QRectF(0, 0, 1280 * 0.75, 1024 * 0.75));
        painter.end();
        if (shown.pictures.size() != 2) {
            state.SkipWithError("the pictures are not shown");
            break;
        }
    }
}
BENCHMARK(BM_PaintSheetOf300FormattedRowsWithTwoPictures)->Unit(benchmark::kMillisecond);

}  // namespace
