#include "app/SheetWindow.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace app {

namespace {

int pixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QColor rgb(std::uint32_t value) { return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF); }

Qt::Alignment alignmentOf(office::ShownCell::Align align) {
    switch (align) {
    case office::ShownCell::Align::Center: return Qt::AlignHCenter | Qt::AlignBottom;
    case office::ShownCell::Align::Right: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignLeft | Qt::AlignBottom;
    }
}

}  // namespace

void ShowSheetFullScreen(const office::ShownSheet& sheet, const std::string& title) {
    QDialog dialog;
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* table = new QTableWidget(static_cast<int>(sheet.rowHeights.size()),
                                   static_cast<int>(sheet.columnWidths.size()), &dialog);
    table->setShowGrid(false);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setWordWrap(true);
    table->setStyleSheet(QStringLiteral("QTableWidget { background: white; border: none; }"));
    for (std::size_t column = 0; column < sheet.columnWidths.size(); ++column) {
        const int c = static_cast<int>(column);
        if (sheet.columnWidths[column] <= 0) table->setColumnHidden(c, true);
        else table->setColumnWidth(c, pixels(sheet.columnWidths[column]));
    }
    for (std::size_t row = 0; row < sheet.rowHeights.size(); ++row) {
        const int r = static_cast<int>(row);
        if (sheet.rowHeights[row] <= 0) table->setRowHidden(r, true);
        else table->setRowHeight(r, pixels(sheet.rowHeights[row]));
    }
    for (const office::ShownCell& cell : sheet.cells) {
        const int r = static_cast<int>(cell.row) - 1, c = static_cast<int>(cell.column) - 1;
        auto* item = new QTableWidgetItem(QString::fromStdString(cell.text));
        QFont font(QString::fromStdString(cell.fontName));
        font.setPointSizeF(cell.fontPoints);
        font.setBold(cell.bold);
        font.setItalic(cell.italic);
        font.setUnderline(cell.underline);
        item->setFont(font);
        item->setForeground(rgb(cell.color));
        if (cell.fill) item->setBackground(rgb(*cell.fill));
        item->setTextAlignment(alignmentOf(cell.align));
        table->setItem(r, c, item);
        if (cell.rowSpan > 1 || cell.columnSpan > 1)
            table->setSpan(r, c, static_cast<int>(cell.rowSpan), static_cast<int>(cell.columnSpan));
    }
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table);
    // Esc rejects a dialog by itself, Alt+F4 closes the window: both come back here.
    // Without a window manager full screen means nothing: the size is set too.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) dialog.setGeometry(screen->geometry());
    dialog.showFullScreen();
    dialog.exec();
}

}  // namespace app
