#include "builder/SheetTransfer.h"

#include <memory>

#include "automation/AutomationError.h"
#include "builder/LineCanceled.h"

namespace builder {

namespace excel = automation::excel;
using automation::AutomationError;

namespace {

// Page setup of a carried chart sheet, in inches.
constexpr double kChartMargin = 0.1;
constexpr double kChartTopMargin = 0.5;
constexpr double kChartZoom = 85;
constexpr long kChartPrintZoom = 100;
constexpr long kPictureRow = 3;  // a chart sheet's picture starts at A3

const char kCr = '\r';
constexpr long kObjectNotSet = 91;  // what a call on a window that is not there raises

excel::Window& activeWindow(excel::Application& excelApp) {
    auto window = excelApp.ActiveWindow();
    if (!window) throw AutomationError(kObjectNotSet, "Object variable or With block variable not set");
    static thread_local std::shared_ptr<excel::Window> kept;  // lives until the next call
    kept = std::move(window);
    return *kept;
}

void showSheetNotFound(core::Context& ctx, const std::string& inputSheet, const std::string& fileName,
                       const std::string& description) {
    ctx.msgBox(ctx.tr("Sheet: ", "Foglio: ") + inputSheet + kCr + ctx.tr("not found in: ", "non trovato in: ") +
               fileName + kCr + ctx.tr("Line description: ", "Descrizione riga: ") + description +
               ctx.tr("  (canceled!)", "  (eliminata!)"));
}

// The source's sheet of that name, whatever its letter case; nullptr when none.
std::shared_ptr<excel::Sheet> findSheet(excel::Workbook& source, const std::string& name) {
    try {
        return source.Sheets(name);
    } catch (const AutomationError& error) {
        if (error.number() != automation::errnum::kSubscriptOutOfRange) throw;
        return nullptr;
    }
}

// Each chart object becomes a picture pasted at the cell under its top-left corner.
void chartsToPictures(excel::Worksheet& sheet, excel::Workbook& workbook) {
    while (sheet.ChartObjectCount() > 0) {
        auto chart = sheet.ChartObjects(1);
        const double top = chart->Top();
        const double left = chart->Left();
        chart->CopyPicture(excel::PictureFormat::Picture, excel::PictureAppearance::Printer);
        chart->Delete();
        const long row = RowAtTop(top, workbook).value_or(1);
        const long column = ColumnAtLeft(left, workbook).value_or(1);
        sheet.Paste(*sheet.Cells(row, column));
    }
}

// The copy goes in first and is named in the Presentation: the source keeps its names.
std::shared_ptr<excel::Sheet> carryWorksheet(excel::Worksheet& source, excel::Workbook& workbook,
                                             const std::string& outputSheet) {
    source.Copy(*workbook.SheetAt(1));
    auto copy = std::dynamic_pointer_cast<excel::Worksheet>(workbook.SheetAt(2));
    if (!copy) throw AutomationError(automation::errnum::kApplicationDefined, "The copied sheet is no worksheet.");
    std::shared_ptr<excel::Sheet> added = copy;
    try {
        copy->SetVisible(excel::SheetVisibility::Visible);
        copy->SetName(outputSheet);
        copy->Activate();
        // A copy protected without a password opens up; one with a password cannot be frozen.
        if (copy->ProtectContents()) {
            try {
                copy->Unprotect("");
            } catch (const AutomationError& error) {
                throw AutomationError(error.number(), "The sheet is protected with a password, so its formulas "
                                                      "cannot be turned into values.");
            }
        }
        copy->AllCells()->Copy();
        copy->AllCells()->PasteSpecial(excel::PasteType::Values);
        chartsToPictures(*copy, workbook);
        copy->Cells(1, 1)->Select();
    } catch (...) {
        try {
            added->Delete();
        } catch (const AutomationError&) {
        }
        throw;
    }
    return added;
}

void carryChartSheet(core::Context& ctx, excel::Chart& chart, excel::Workbook& workbook, const std::string& outputSheet) {
    chart.CopyPicture();
    // After the first sheet rather than before the active one, so that "START" stays first.
    auto sheet = workbook.AddWorksheetAfter(*workbook.SheetAt(1));
    try {
        sheet->SetName(outputSheet);
        sheet->Activate();
        sheet->Paste(*sheet->Cells(kPictureRow, 1));
        excel::Application& excelApp = *ctx.state.ExcelApp;
        if (auto window = excelApp.ActiveWindow()) window->SetZoom(kChartZoom);
        excel::PageSetup& page = sheet->GetPageSetup();
        page.SetLeftMargin(excelApp.InchesToPoints(kChartMargin));
        page.SetRightMargin(excelApp.InchesToPoints(kChartMargin));
        page.SetTopMargin(excelApp.InchesToPoints(kChartTopMargin));
        page.SetBottomMargin(excelApp.InchesToPoints(kChartMargin));
        page.SetHeaderMargin(excelApp.InchesToPoints(kChartMargin));
        page.SetFooterMargin(excelApp.InchesToPoints(kChartMargin));
        page.SetZoom(kChartPrintZoom);
        page.SetCenterHorizontally(true);
        page.SetCenterVertically(true);
        page.SetOrientation(excel::PageOrientation::Landscape);
    } catch (...) {
        try {
            sheet->Delete();
        } catch (const AutomationError&) {
        }
        throw;
    }
}

void closeQuietly(excel::Workbook& source) {
    try {
        source.Close(false);
    } catch (const AutomationError&) {
    }
}

}  // namespace

void TransferSheet(core::Context& ctx, excel::Workbook& workbook, const std::string& fileName,
                   const std::string& inputSheet, const std::string& outputSheet, const std::string& description,
                   int& LineStatus) {
    LineStatus = 0;
    excel::Application& excelApp = *ctx.state.ExcelApp;

    // Opening: an error here does not stop the steps; the last one is reported.
    std::optional<AutomationError> openError;
    std::shared_ptr<excel::Workbook> source;
    auto attempt = [&](const auto& step) {
        try {
            step();
        } catch (const AutomationError& error) {
            openError = error;
        }
    };
    attempt([&] { activeWindow(excelApp).SetWindowState(excel::WindowState::Minimized); });
    attempt([&] {
        excel::OpenOptions options;
        options.updateLinks = 0;
        options.readOnly = true;
        excelApp.GetWorkbooks().Open(fileName, options);
        source = excelApp.ActiveWorkbook();
    });
    attempt([&] { excelApp.SetVisible(false); });
    attempt([&] { activeWindow(excelApp).SetWindowState(excel::WindowState::Maximized); });
    if (openError) {
        ShowLineCanceled(ctx, openError->number(), openError->description(), fileName, description);
        LineStatus = 1;
        if (source) closeQuietly(*source);
        return;
    }

    try {
        auto sheet = findSheet(*source, inputSheet);
        if (!sheet) {
            showSheetNotFound(ctx, inputSheet, fileName, description);
            LineStatus = 1;
        } else if (auto* chart = dynamic_cast<excel::Chart*>(sheet.get())) {
            carryChartSheet(ctx, *chart, workbook, outputSheet);
        } else {
            carryWorksheet(dynamic_cast<excel::Worksheet&>(*sheet), workbook, outputSheet);
        }
    } catch (const AutomationError& error) {
        // A line that cannot be carried is canceled; the build goes on.
        ShowLineCanceled(ctx, error.number(), error.description(), fileName, description);
        LineStatus = 1;
    }
    closeQuietly(*source);
}

std::optional<long> ColumnAtLeft(double left, excel::Workbook& workbook) {
    auto sheet = std::dynamic_pointer_cast<excel::Worksheet>(workbook.ActiveSheet());
    if (!sheet) return std::nullopt;
    constexpr long kLastColumn = 256;
    for (long column = 1; column <= kLastColumn; ++column) {
        auto cell = sheet->Cells(1, column);
        // The last column's right edge stands in for the next column's left edge.
        const double next = column < kLastColumn ? sheet->Cells(1, column + 1)->Left() : cell->Left() + cell->Width();
        if (cell->Left() <= left && next > left) return cell->Column();
    }
    return std::nullopt;
}

std::optional<long> RowAtTop(double top, excel::Workbook& workbook) {
    auto sheet = std::dynamic_pointer_cast<excel::Worksheet>(workbook.ActiveSheet());
    if (!sheet) return std::nullopt;
    constexpr long kLastRow = 65536;
    for (long row = 1; row <= kLastRow; ++row) {
        auto cell = sheet->Cells(row, 1);
        const double next = row < kLastRow ? sheet->Cells(row + 1, 1)->Top() : cell->Top() + cell->Height();
        if (cell->Top() <= top && next > top) return cell->Row();
    }
    return std::nullopt;
}

}  // namespace builder
