#pragma once
// Draws a shown sheet, for the screen and for paper alike: fills, texts
// (spilling into empty neighbours as a spreadsheet does, "###" for numbers
// too wide), borders and pictures. No gridlines, no headings.
#include <QImage>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "office/format/ShownSheet.h"

class QPainter;

namespace render {

class SheetPainter {
public:
    // Decodes the sheet's pictures once; `sheet` must outlive the painter.
    explicit SheetPainter(const office::ShownSheet& sheet);

    // Draws the part of the sheet inside `area` (points, from the sheet's
    // top-left corner). The painter's unit must be one point of the sheet
    // (the caller scales from the device's resolution and its zoom).
    void paint(QPainter& painter, const QRectF& area) const;

    // Edges in points: columnEdge(c) is the left edge of column c (1-based),
    // columnEdge(count + 1) the sheet's right edge; rows alike.
    double columnEdge(std::uint32_t column) const;
    double rowEdge(std::uint32_t row) const;
    std::uint32_t columnCount() const { return static_cast<std::uint32_t>(columnEdges_.size()) - 1; }
    std::uint32_t rowCount() const { return static_cast<std::uint32_t>(rowEdges_.size()) - 1; }
    // The sheet's size in points, pictures included.
    QSizeF size() const;

private:
    QRectF cellRect(const office::ShownCell& cell) const;
    QRectF textRect(const office::ShownCell& cell, const QRectF& rect, double textWidth) const;
    bool occupied(std::uint32_t row, std::uint32_t column) const;
    void paintText(QPainter& painter, const office::ShownCell& cell, const QRectF& area) const;
    void paintEdges(QPainter& painter, const office::ShownCell& cell) const;

    const office::ShownSheet& sheet_;
    std::vector<double> columnEdges_, rowEdges_;
    std::vector<QImage> images_;
    std::vector<std::size_t> byRow_;  // cell indexes in row order
    std::uint32_t tallestSpan_ = 1;
    std::vector<std::uint64_t> occupied_;  // sorted (row << 16 | column) of cells with a text or in a merged area
};

}  // namespace render
