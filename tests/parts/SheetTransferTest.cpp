// The sheet transfer on real workbooks: a line's sheet arrives in the
// Presentation frozen (values, formats, merged cells, sizes; charts as
// pictures at their cells), chart sheets as worksheets with the picture at
// A3, failures cancel only their line, and the source file never changes.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "builder/SheetTransfer.h"
#include "office/XlsFile.h"
#include "office/engine/EngineApplication.h"
#include "office/engine/EngineWorkbook.h"
#include "office/engine/SheetGeometry.h"
#include "parts/PartsFixture.h"
#include "support/OnePixelPng.h"

namespace {

using automation::Variant;
namespace excel = automation::excel;

// A 1x1 PNG: what the pictures show does not matter here, only where and how large.
const std::vector<std::uint8_t>& kPng = testsupport::onePixelPng();

struct DrawnChart {
    double widthPt, heightPt;
    std::size_t sheetCount;  // of the workbook the chart drew from
};

class SheetTransferTest : public partstest::PartsTest {
protected:
    void SetUp() override {
        windows.autoAcknowledge = true;
        ctx.state.ExcelApp = objects.CreateExcel();
        engine().drawChart = [this](const office::engine::ChartToDraw& chart) {
            drawn.push_back({chart.widthPt, chart.heightPt, chart.workbook.sheets.size()});
            return automation::Picture{kPng, 1, 1};
        };
        presentation = ctx.state.ExcelApp->GetWorkbooks().Add();
        presentation->WorksheetAt(1)->SetName("START");
    }

    office::engine::ApplicationState& engine() {
        return *dynamic_cast<office::engine::EngineApplication&>(*ctx.state.ExcelApp).state();
    }
    office::WorkbookModel& model() {
        return dynamic_cast<office::engine::EngineWorkbook&>(*presentation).core()->model;
    }
    const office::SheetModel& carried(const std::string& name) {
        for (const auto& sheet : model().sheets)
            if (sheet.name == name) return sheet;
        throw std::runtime_error("no sheet " + name);
    }

    // A copy of a sample in the test's folder; its bytes are checked after every transfer.
    std::string sample(const std::string& name) {
        auto path = folder.path() / name;
        std::filesystem::copy_file(testsupport::testData(name), path, std::filesystem::copy_options::overwrite_existing);
        originals[path.string()] = testsupport::readFileBytes(path);
        return path.string();
    }

    int transfer(const std::string& file, const std::string& input, const std::string& output,
                 const std::string& description = "the line") {
        int status = -1;
        builder::TransferSheet(ctx, *presentation, file, input, output, description, status);
        for (const auto& [path, bytes] : originals) EXPECT_EQ(testsupport::readFileBytes(path), bytes) << path;
        EXPECT_EQ(ctx.state.ExcelApp->GetWorkbooks().Count(), 1) << "the source stays open";
        return status;
    }

    std::vector<std::string> sheetNames() { return presentation->SheetNames(); }

    std::shared_ptr<excel::Workbook> presentation;
    std::vector<DrawnChart> drawn;
    std::map<std::string, std::vector<std::uint8_t>> originals;
};

// Fonts, number format codes and the look of the XF, compared by meaning across two workbooks.
void expectSameFormat(const office::WorkbookModel& a, std::uint16_t xa, const office::WorkbookModel& b,
                      std::uint16_t xb, const std::string& where) {
    const office::XfDef& fa = a.xfAt(xa);
    const office::XfDef& fb = b.xfAt(xb);
    office::FontDef fontA = a.fontOfXf(xa), fontB = b.fontOfXf(xb);
    EXPECT_EQ(office::colorRgb(a.palette, fontA.colorIndex), office::colorRgb(b.palette, fontB.colorIndex)) << where;
    fontA.colorIndex = fontB.colorIndex = 0;
    EXPECT_EQ(fontA, fontB) << where;
    auto code = [](const office::WorkbookModel& m, std::uint16_t f) {
        return f < 164 ? std::to_string(f) : m.numberFormats.at(f);
    };
    EXPECT_EQ(code(a, fa.format), code(b, fb.format)) << where;
    EXPECT_EQ(fa.alignment, fb.alignment) << where;
    EXPECT_EQ(fa.fill.pattern, fb.fill.pattern) << where;
    if (fa.fill.pattern != 0) {
        EXPECT_EQ(office::colorRgb(a.palette, fa.fill.foreground), office::colorRgb(b.palette, fb.fill.foreground))
            << where;
    }
    for (auto side : {&office::Borders::left, &office::Borders::right, &office::Borders::top, &office::Borders::bottom}) {
        EXPECT_EQ((fa.borders.*side).style, (fb.borders.*side).style) << where;
        if ((fa.borders.*side).style != office::BorderStyle::None) {
            EXPECT_EQ(office::colorRgb(a.palette, (fa.borders.*side).color),
                      office::colorRgb(b.palette, (fb.borders.*side).color))
                << where;
        }
    }
}

TEST_F(SheetTransferTest, FormulasArriveAsValuesWithTheirFormatsSizesAndMergedCells) {
    const std::string file = sample("formatted.xls");
    ASSERT_EQ(transfer(file, "Report", "Frozen report"), 0);
    EXPECT_TRUE(windows.messages().empty());
    EXPECT_EQ(sheetNames(), (std::vector<std::string>{"START", "Frozen report"}));

    const office::WorkbookModel source = office::readXlsFile(file, "");
    const office::SheetModel& from = source.sheets.at(0);
    const office::SheetModel& to = carried("Frozen report");
    int formulas = 0;
    for (std::uint32_t row = 1; row <= from.rows.all().size(); ++row)
        for (std::uint32_t column = 1; column <= from.rows.all()[row - 1].cells.size(); ++column) {
            const office::Cell& before = *from.cell(row, column);
            const office::Cell* after = to.cell(row, column);
            const std::string where = "row " + std::to_string(row) + " column " + std::to_string(column);
            ASSERT_NE(after, nullptr) << where;
            EXPECT_EQ(after->value, before.value) << where;
            EXPECT_EQ(after->formula, nullptr) << where;
            formulas += before.formula ? 1 : 0;
            expectSameFormat(source, before.xf, model(), after->xf, where);
        }
    EXPECT_GT(formulas, 0) << "the sample has formulas to freeze";
    EXPECT_EQ(to.mergedCells, from.mergedCells);
    for (const auto& [index, column] : from.columns) {
        ASSERT_TRUE(to.columns.count(index)) << index;
        EXPECT_EQ(to.columns.at(index).width, column.width) << index;
        EXPECT_EQ(to.columns.at(index).hidden, column.hidden) << index;
    }
    for (std::uint32_t column = 1; column <= 8; ++column)
        EXPECT_EQ(office::engine::columnWidthPoints(to, column), office::engine::columnWidthPoints(from, column));
    for (std::uint32_t row = 1; row <= from.rows.all().size(); ++row) {
        EXPECT_EQ(office::engine::rowHeightPoints(to, row), office::engine::rowHeightPoints(from, row)) << row;
        EXPECT_EQ(to.rows.all()[row - 1].hidden, from.rows.all()[row - 1].hidden) << row;
    }
    // The copy is shown with A1 selected.
    ASSERT_EQ(to.window.selections.size(), 1u);
    EXPECT_EQ(to.window.selections[0].activeRow, 1u);
    EXPECT_EQ(to.window.selections[0].activeColumn, 1u);
}

TEST_F(SheetTransferTest, TwoChartsBecomeTwoPicturesAtTheCellsUnderTheirCorners) {
    const std::string file = sample("formatted.xls");
    ASSERT_EQ(transfer(file, "Report", "Charts"), 0);
    const office::WorkbookModel source = office::readXlsFile(file, "");
    const office::SheetModel& from = source.sheets.at(0);
    const office::SheetModel& to = carried("Charts");

    std::vector<const office::DrawingObject*> charts;
    for (const auto& object : from.drawings)
        if (object.kind == office::DrawingKind::Chart) charts.push_back(&object);
    ASSERT_EQ(charts.size(), 2u);
    ASSERT_EQ(to.drawings.size(), 2u);
    ASSERT_EQ(drawn.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE("chart " + std::to_string(i));
        const office::DrawingObject& picture = to.drawings[i];
        EXPECT_EQ(picture.kind, office::DrawingKind::Picture);
        const auto chartRect = office::engine::anchorRect(from, charts[i]->anchor);
        // The cell under the chart's top-left corner, the picture's corner on its top-left.
        EXPECT_EQ(picture.anchor.fromRow, charts[i]->anchor.fromRow);
        EXPECT_EQ(picture.anchor.fromColumn, charts[i]->anchor.fromColumn);
        EXPECT_EQ(picture.anchor.fromRowOffset, 0);
        EXPECT_EQ(picture.anchor.fromColumnOffset, 0);
        const auto pictureRect = office::engine::anchorRect(to, picture.anchor);
        EXPECT_NEAR(pictureRect.width, chartRect.width, 1.0);
        EXPECT_NEAR(pictureRect.height, chartRect.height, 1.0);
        EXPECT_NEAR(drawn[i].widthPt, chartRect.width, 0.01);
        EXPECT_NEAR(drawn[i].heightPt, chartRect.height, 0.01);
        EXPECT_EQ(drawn[i].sheetCount, source.sheets.size()) << "the chart draws from its own workbook";
    }

    // Saved and read again, the Presentation holds the pictures and no chart.
    presentation->SaveAs((folder.path() / "presentation.xls").string());
    const office::WorkbookModel saved = office::readXlsFile((folder.path() / "presentation.xls").string(), "");
    const office::SheetModel& back = saved.sheets.at(1);
    ASSERT_EQ(back.drawings.size(), 2u);
    for (const auto& object : back.drawings) {
        EXPECT_EQ(object.kind, office::DrawingKind::Picture);
        ASSERT_GE(object.picture, 1u);
        ASSERT_LE(object.picture, saved.pictures.size());
        const auto image = saved.pictures[object.picture - 1].imageBytes();
        EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.end()), kPng);
    }
    EXPECT_EQ(back.drawings[0].anchor, to.drawings[0].anchor);
}

// A workbook with a worksheet and a chart sheet whose chart is 400 x 300 points.
std::string chartSheetWorkbook(const std::filesystem::path& folder) {
    office::WorkbookModel m = office::WorkbookModel::withDefaults();
    m.sheets.emplace_back().name = "Numbers";
    m.sheets[0].cellAt(1, 1).value = 1.0;
    office::SheetModel& chart = m.sheets.emplace_back();
    chart.name = "Sales Chart";
    chart.kind = office::SheetKind::Chart;
    chart.chartStream = {0x09, 0x08, 0x10, 0x00, 0x00, 0x06, 0x20, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 0x06, 0,
                         0, 0,                                                             // BOF of a chart
                         0x02, 0x10, 0x10, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x90, 0x01, 0, 0, 0x2C, 0x01,  // CHART
                         0x0A, 0x00, 0x00, 0x00};                                          // EOF
    const auto path = folder / "chartsheet.xls";
    const auto bytes = office::writeXls(m, "");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

TEST_F(SheetTransferTest, AChartSheetBecomesAWorksheetWithItsPictureAtA3AndPrintSettings) {
    const std::string file = chartSheetWorkbook(folder.path());
    originals[file] = testsupport::readFileBytes(file);
    presentation->AddWorksheetAfter(*presentation->SheetAt(1))->SetName("DATA");
    ASSERT_EQ(transfer(file, "sales chart", "Chart copy"), 0);
    EXPECT_EQ(sheetNames(), (std::vector<std::string>{"START", "Chart copy", "DATA"}));
    const office::SheetModel& sheet = carried("Chart copy");
    EXPECT_EQ(sheet.kind, office::SheetKind::Worksheet);
    ASSERT_EQ(sheet.drawings.size(), 1u);
    const office::DrawingObject& picture = sheet.drawings[0];
    EXPECT_EQ(picture.kind, office::DrawingKind::Picture);
    EXPECT_EQ(picture.anchor.fromRow, 3u);
    EXPECT_EQ(picture.anchor.fromColumn, 1u);
    const auto rect = office::engine::anchorRect(sheet, picture.anchor);
    EXPECT_NEAR(rect.width, 400, 1.0);
    EXPECT_NEAR(rect.height, 300, 1.0);
    EXPECT_EQ(sheet.window.zoom, 85);
    const office::PageSetup& page = sheet.pageSetup;
    for (double margin : {page.leftMargin, page.rightMargin, page.bottomMargin, page.headerMargin, page.footerMargin})
        EXPECT_DOUBLE_EQ(margin, 0.1);
    EXPECT_DOUBLE_EQ(page.topMargin, 0.5);
    EXPECT_TRUE(page.landscape);
    EXPECT_TRUE(page.centerHorizontally);
    EXPECT_TRUE(page.centerVertically);
    EXPECT_EQ(page.scale, 100);
    EXPECT_FALSE(page.fitToPages);
    EXPECT_TRUE(page.printerSettingsValid);
}

TEST_F(SheetTransferTest, AHiddenSheetIsCarriedAndTheNameMatchesInAnyCase) {
    const std::string file = sample("budget.xls");
    ASSERT_EQ(transfer(file, "NOTES", "Notes copy"), 0);
    EXPECT_EQ(carried("Notes copy").visibility, office::SheetVisibility::Visible);
    EXPECT_EQ(carried("Notes copy").cell(2, 2)->value, office::CellValue(42.0));
    ASSERT_EQ(transfer(file, "sUmMaRy", "Summary"), 0);  // a name the source uses for another sheet
    EXPECT_EQ(carried("Summary").cell(2, 2)->value, office::CellValue(5150.0));
    EXPECT_EQ(sheetNames(), (std::vector<std::string>{"START", "Summary", "Notes copy"}));
}

TEST_F(SheetTransferTest, AProtectedSourceIsCarriedWithoutBeingChanged) {
    const std::string file = sample("protected.xls");  // structure protected, Summary protected with a password
    ASSERT_EQ(transfer(file, "Data", "Data copy"), 0);
    EXPECT_EQ(carried("Data copy").cell(2, 2)->value, office::CellValue(1200.0));
    // A sheet protected with a password cannot be frozen: only this line is canceled.
    EXPECT_EQ(transfer(file, "Summary", "Summary copy"), 1);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_EQ(windows.messages()[0].rfind("Error!!!!\r1004    ", 0), 0u) << windows.messages()[0];
    EXPECT_NE(windows.messages()[0].find("protected with a password"), std::string::npos);
    EXPECT_NE(windows.messages()[0].find("\rFilename: " + file + "\rLine description: the line  (canceled!)"),
              std::string::npos);
    EXPECT_EQ(sheetNames(), (std::vector<std::string>{"START", "Data copy"}));
}

TEST_F(SheetTransferTest, FailuresCancelTheLineWithTheirMessages) {
    const auto notWorkbook = folder.path() / "notes.xls";
    std::ofstream(notWorkbook) << "just some text, no workbook";
    EXPECT_EQ(transfer(notWorkbook.string(), "Sheet1", "Out", "text file"), 1);
    ASSERT_EQ(windows.messages().size(), 1u);
    const std::string openFailure = windows.messages()[0];
    EXPECT_EQ(openFailure.rfind("Error!!!!\r1004    ", 0), 0u) << openFailure;
    EXPECT_NE(openFailure.find("it is not an Excel 97-2003 (.xls) file."), std::string::npos) << openFailure;
    EXPECT_NE(openFailure.find("\rFilename: " + notWorkbook.string() + "\rLine description: text file  (canceled!)"),
              std::string::npos);

    const std::string file = sample("budget.xls");
    EXPECT_EQ(transfer(file, "Nowhere", "Out", "missing sheet"), 1);
    EXPECT_EQ(windows.messages().back(),
              "Sheet: Nowhere\rnot found in: " + file + "\rLine description: missing sheet  (canceled!)");
    ctx.state.LanguageCode = "I";
    EXPECT_EQ(transfer(file, "Nowhere", "Out", "foglio mancante"), 1);
    EXPECT_EQ(windows.messages().back(),
              "Foglio: Nowhere\rnon trovato in: " + file + "\rDescrizione riga: foglio mancante  (eliminata!)");

    // An output name the Presentation holds already.
    EXPECT_EQ(transfer(file, "Data", "start", "taken name"), 1);
    EXPECT_NE(windows.messages().back().find("already taken"), std::string::npos);
    EXPECT_EQ(sheetNames(), (std::vector<std::string>{"START"}));
}

TEST_F(SheetTransferTest, WithoutAPictureMakerALineWithChartsIsCanceled) {
    engine().drawChart = nullptr;
    EXPECT_EQ(transfer(sample("formatted.xls"), "Report", "Report"), 1);
    ASSERT_EQ(windows.messages().size(), 1u);
    EXPECT_NE(windows.messages()[0].find("Charts cannot be turned into pictures"), std::string::npos);
    EXPECT_EQ(sheetNames(), (std::vector<std::string>{"START"}));
    // A sheet without charts needs no picture maker.
    EXPECT_EQ(transfer(sample("budget.xls"), "Summary", "Summary"), 0);
}

TEST_F(SheetTransferTest, ColumnAtLeftAndRowAtTopFindTheCellUnderAPoint) {
    auto sheet = presentation->WorksheetAt(1);
    office::SheetModel& model = this->model().sheets[0];
    model.columns[1].width = 256 * 20;  // column B: 20 characters
    model.columns[2].hidden = true;      // column C takes no room
    model.rowAt(2).heightTwips = 600;    // row 2: 30 points
    model.rowAt(2).customHeight = true;
    const double b = sheet->Cells(1, 2)->Left();
    EXPECT_DOUBLE_EQ(b, 48);  // column A: 64 pixels
    EXPECT_EQ(builder::ColumnAtLeft(0, *presentation), 1);
    EXPECT_EQ(builder::ColumnAtLeft(b - 0.01, *presentation), 1);
    EXPECT_EQ(builder::ColumnAtLeft(b, *presentation), 2);
    const double d = sheet->Cells(1, 4)->Left();
    EXPECT_EQ(builder::ColumnAtLeft(d - 0.01, *presentation), 2);
    EXPECT_EQ(builder::ColumnAtLeft(d, *presentation), 4) << "the hidden column is never the answer";
    EXPECT_EQ(builder::ColumnAtLeft(-1, *presentation), std::nullopt);
    EXPECT_EQ(builder::ColumnAtLeft(1e9, *presentation), std::nullopt);
    EXPECT_EQ(builder::RowAtTop(12.74, *presentation), 1);
    EXPECT_EQ(builder::RowAtTop(12.75, *presentation), 2);
    EXPECT_EQ(builder::RowAtTop(42.74, *presentation), 2);
    EXPECT_EQ(builder::RowAtTop(42.75, *presentation), 3);
}

}  // namespace
