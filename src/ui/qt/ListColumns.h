#pragma once
// Lists with more than one column: each entry is shown as its columns,
// separated by tabs in the item text and drawn side by side at the widths the
// list's column widths give.
#include <QStyledItemDelegate>
#include <string>
#include <vector>

namespace ui::qt {

// Width of each of `count` columns in points, from a text such as
// "72;144", "72 pt;2 cm" or "1 in": "pt" is the default unit, "cm", "mm" and
// "in" are understood. A column without a width (missing, empty or not a
// number) gets one inch.
std::vector<double> parseColumnWidths(const std::string& widths, int count);

class ColumnDelegate : public QStyledItemDelegate {
public:
    explicit ColumnDelegate(QObject* parent) : QStyledItemDelegate(parent) {}
    void setWidths(std::vector<int> pixels) { widths_ = std::move(pixels); }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::vector<int> widths_;
};

}  // namespace ui::qt
