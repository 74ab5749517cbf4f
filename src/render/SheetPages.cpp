#include "render/SheetPages.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "office/format/ShownSheet.h"
#include "office/model/SheetSettings.h"
#include "render/SheetPainter.h"

namespace render {

namespace {

constexpr double kPointsPerInch = 72;
// Excel prints at 10 % to 400 %; fitting to pages only ever shrinks.
constexpr double kSmallestScale = 0.1;
constexpr double kLargestScale = 4.0;
constexpr double kFitStep = 0.98;

// Excel's paper codes (the PaperSize of its page setup) as page sizes.
std::optional<QPageSize> paperOf(std::uint16_t code) {
    auto inches = [](double w, double h) { return QPageSize(QSizeF(w, h), QPageSize::Inch); };
    auto mm = [](double w, double h) { return QPageSize(QSizeF(w, h), QPageSize::Millimeter); };
    switch (code) {
    case 1: case 2: return QPageSize(QPageSize::Letter);
    case 3: return QPageSize(QPageSize::Tabloid);
    case 4: return QPageSize(QPageSize::Ledger);
    case 5: return QPageSize(QPageSize::Legal);
    case 6: return inches(5.5, 8.5);
    case 7: return QPageSize(QPageSize::Executive);
    case 8: return QPageSize(QPageSize::A3);
    case 9: case 10: return QPageSize(QPageSize::A4);
    case 11: return QPageSize(QPageSize::A5);
    case 12: return QPageSize(QPageSize::JisB4);
    case 13: return QPageSize(QPageSize::JisB5);
    case 14: return inches(8.5, 13);
    case 15: return mm(215, 275);
    case 16: return inches(10, 14);
    case 17: return inches(11, 17);
    case 18: return QPageSize(QPageSize::Letter);
    case 19: return QPageSize(QPageSize::Envelope9);
    case 20: return QPageSize(QPageSize::Envelope10);
    case 21: return QPageSize(QPageSize::Envelope11);
    case 22: return QPageSize(QPageSize::Envelope12);
    case 23: return QPageSize(QPageSize::Envelope14);
    case 24: return inches(17, 22);
    case 25: return inches(22, 34);
    case 26: return inches(34, 44);
    case 27: return QPageSize(QPageSize::EnvelopeDL);
    case 28: return QPageSize(QPageSize::EnvelopeC5);
    case 29: return QPageSize(QPageSize::EnvelopeC3);
    case 30: return QPageSize(QPageSize::EnvelopeC4);
    case 31: return QPageSize(QPageSize::EnvelopeC6);
    case 32: return QPageSize(QPageSize::EnvelopeC65);
    case 33: return QPageSize(QPageSize::EnvelopeB4);
    case 34: return QPageSize(QPageSize::EnvelopeB5);
    case 35: return QPageSize(QPageSize::EnvelopeB6);
    case 36: return mm(110, 230);
    case 37: return QPageSize(QPageSize::EnvelopeMonarch);
    case 38: return QPageSize(QPageSize::EnvelopePersonal);
    case 39: return inches(14.875, 11);
    case 40: return inches(8.5, 12);
    case 41: return inches(8.5, 13);
    default: return std::nullopt;  // the printer's own paper
    }
}

// Runs of items (columns or rows) that fit `room`, cut between items; an
// item larger than the room has a page of its own. Each run as [first, last].
std::vector<std::pair<std::uint32_t, std::uint32_t>> runsOf(const std::vector<double>& sizes, double room) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;
    std::uint32_t first = 1;
    double used = 0;
    for (std::uint32_t k = 1; k <= sizes.size(); ++k) {
        const double size = std::max(sizes[k - 1], 0.0);
        if (used > 0 && used + size > room + 1e-6) {
            runs.emplace_back(first, k - 1);
            first = k;
            used = 0;
        }
        used += size;
    }
    if (first <= sizes.size()) runs.emplace_back(first, static_cast<std::uint32_t>(sizes.size()));
    if (runs.empty()) runs.emplace_back(1, 0);
    return runs;
}

// The printed columns and rows, pictures included (they reach past the cells).
void printedSizes(const office::ShownSheet& sheet, const SheetPainter& painter, std::vector<double>& columns,
                  std::vector<double>& rows) {
    columns = sheet.columnWidths;
    rows = sheet.rowHeights;
    const QSizeF size = painter.size();
    if (size.width() > painter.columnEdge(painter.columnCount() + 1)) columns.push_back(size.width() - painter.columnEdge(painter.columnCount() + 1));
    if (size.height() > painter.rowEdge(painter.rowCount() + 1)) rows.push_back(size.height() - painter.rowEdge(painter.rowCount() + 1));
}

double edgeOf(const std::vector<double>& sizes, std::uint32_t item) {
    double edge = 0;
    for (std::uint32_t k = 1; k < item && k <= sizes.size(); ++k) edge += std::max(sizes[k - 1], 0.0);
    return edge;
}

}  // namespace

void ApplyPageSetup(const office::PageSetup& setup, QPagedPaintDevice& device) {
    const QPageSize size = paperOf(setup.paperSize).value_or(device.pageLayout().pageSize());
    const QPageLayout::Orientation orientation = setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QMarginsF margins(setup.leftMargin * kPointsPerInch, setup.topMargin * kPointsPerInch,
                            setup.rightMargin * kPointsPerInch, setup.bottomMargin * kPointsPerInch);
    QPageLayout layout(size, orientation, margins, QPageLayout::Point);
    if (device.setPageLayout(layout)) return;
    // A printer whose least margins are wider than the sheet's keeps its own.
    device.setPageSize(size);
    device.setPageOrientation(orientation);
    QMarginsF least = device.pageLayout().minimumMargins();
    device.setPageMargins(QMarginsF(std::max(margins.left(), least.left()), std::max(margins.top(), least.top()),
                                    std::max(margins.right(), least.right()),
                                    std::max(margins.bottom(), least.bottom())),
                          QPageLayout::Point);
}

int PaintSheetPages(const office::ShownSheet& sheet, const office::PageSetup& setup, QPainter& painter,
                    QPagedPaintDevice& device) {
    const SheetPainter sheetPainter(sheet);
    std::vector<double> columns, rows;
    printedSizes(sheet, sheetPainter, columns, rows);

    const QRectF paper = device.pageLayout().paintRect(QPageLayout::Point);
    const double roomWidth = std::max(paper.width(), 1.0), roomHeight = std::max(paper.height(), 1.0);

    double scale = std::clamp(setup.scale / 100.0, kSmallestScale, kLargestScale);
    auto columnRuns = runsOf(columns, roomWidth / scale);
    auto rowRuns = runsOf(rows, roomHeight / scale);
    if (setup.fitToPages) {
        // The largest scale up to 100 % whose pages, cut between columns and
        // rows, are no more than the pages asked for (0: as many as needed).
        scale = 1;
        auto fits = [&] {
            return (setup.fitWidth == 0 || columnRuns.size() <= setup.fitWidth) &&
                   (setup.fitHeight == 0 || rowRuns.size() <= setup.fitHeight);
        };
        for (;;) {
            columnRuns = runsOf(columns, roomWidth / scale);
            rowRuns = runsOf(rows, roomHeight / scale);
            if (fits() || scale <= kSmallestScale) break;
            scale = std::max(scale * kFitStep, kSmallestScale);
        }
    }

    // Page after page, down the rows first unless the setup says across.
    std::vector<std::pair<std::size_t, std::size_t>> order;
    if (setup.overThenDown) {
        for (std::size_t r = 0; r < rowRuns.size(); ++r)
            for (std::size_t c = 0; c < columnRuns.size(); ++c) order.emplace_back(c, r);
    } else {
        for (std::size_t c = 0; c < columnRuns.size(); ++c)
            for (std::size_t r = 0; r < rowRuns.size(); ++r) order.emplace_back(c, r);
    }

    const double pixelsPerPoint = device.logicalDpiX() / kPointsPerInch;
    int pages = 0;
    for (const auto& [c, r] : order) {
        if (pages++ > 0) device.newPage();
        const double left = edgeOf(columns, columnRuns[c].first), right = edgeOf(columns, columnRuns[c].second + 1);
        const double top = edgeOf(rows, rowRuns[r].first), bottom = edgeOf(rows, rowRuns[r].second + 1);
        const QRectF area(left, top, right - left, bottom - top);
        const double offsetX = setup.centerHorizontally ? (roomWidth - area.width() * scale) / 2 : 0;
        const double offsetY = setup.centerVertically ? (roomHeight - area.height() * scale) / 2 : 0;
        painter.save();
        painter.scale(pixelsPerPoint, pixelsPerPoint);
        painter.translate(std::max(offsetX, 0.0), std::max(offsetY, 0.0));
        painter.scale(scale, scale);
        painter.translate(-area.left(), -area.top());
        painter.setClipRect(area);
        sheetPainter.paint(painter, area);
        painter.restore();
    }
    return pages;
}

}  // namespace render
