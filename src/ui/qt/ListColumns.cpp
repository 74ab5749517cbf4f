#include "ui/qt/ListColumns.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <cctype>
#include <algorithm>
#include <cstdlib>

namespace ui::qt {

namespace {

constexpr double kDefaultColumnWidth = 72;  // one inch

std::string trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

double widthInPoints(const std::string& entry) {
    const std::string text = trimmed(entry);
    if (text.empty()) return kDefaultColumnWidth;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || value < 0) return kDefaultColumnWidth;
    const std::string unit = trimmed(end);
    if (unit.empty() || unit == "pt") return value;
    if (unit == "cm") return value * 72 / 2.54;
    if (unit == "mm") return value * 72 / 25.4;
    if (unit == "in" || unit == "\"") return value * 72;
    return kDefaultColumnWidth;
}

}  // namespace

std::vector<double> parseColumnWidths(const std::string& widths, int count) {
    std::vector<double> result;
    std::size_t start = 0;
    while (static_cast<int>(result.size()) < count) {
        if (start > widths.size()) {
            result.push_back(kDefaultColumnWidth);
            continue;
        }
        std::size_t end = widths.find(';', start);
        if (end == std::string::npos) end = widths.size();
        result.push_back(widthInPoints(widths.substr(start, end - start)));
        start = end + 1;
    }
    return result;
}

void ColumnDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem base = option;
    initStyleOption(&base, index);
    const QStringList columns = base.text.split(QChar('\t'));
    base.text.clear();
    // Background and selection as the style draws them, then the columns.
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &base, painter, option.widget);

    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(base.font);
    const QFontMetrics metrics(base.font);
    int left = option.rect.left() + 2;
    for (int column = 0; column < columns.size(); ++column) {
        const int width = column < static_cast<int>(widths_.size()) ? widths_[column] : option.rect.width();
        const QRect cell(left, option.rect.top(), std::max(0, width - 2), option.rect.height());
        const QString text = metrics.elidedText(columns[column], Qt::ElideRight, cell.width());
        painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
        left += width;
    }
    painter->restore();
}

}  // namespace ui::qt
