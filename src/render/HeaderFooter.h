#pragma once
// The header and footer of a printed sheet: Excel's codes ("&LLeft&CPage &P
// of &N&R&D") split into their left, centre and right parts with the fields
// filled in, and painted in the page's top or bottom margin.
#include <QString>
#include <string>

class QPainter;
class QRectF;

namespace render {

struct HeaderFooterFields {
    QString sheetName;  // &A
    QString fileName;   // &F
    int page = 1;       // &P (plus or minus a number: &P+1)
    int pages = 1;      // &N
};

struct HeaderFooterText {
    QString left, center, right;
    double points = 10;  // the last font size the codes set (&12)
    bool bold = false, italic = false, underline = false;
    bool empty() const { return left.isEmpty() && center.isEmpty() && right.isEmpty(); }
};

HeaderFooterText ExpandHeaderFooter(const std::string& codes, const HeaderFooterFields& fields);

// Paints `text` across `band` (the painter's unit a point), at its top or
// at its bottom.
void PaintHeaderFooter(QPainter& painter, const QRectF& band, const HeaderFooterText& text, bool atTop);

}  // namespace render
