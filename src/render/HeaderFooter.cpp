#include "render/HeaderFooter.h"

#include <QDate>
#include <QLocale>
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QTime>

namespace render {

HeaderFooterText ExpandHeaderFooter(const std::string& codes, const HeaderFooterFields& fields) {
    HeaderFooterText out;
    const QString text = QString::fromStdString(codes);
    QString* part = &out.center;  // text before any section code is centred
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c != QLatin1Char('&')) {
            part->append(c);
            continue;
        }
        if (k + 1 >= text.size()) break;  // a code cut off at the end
        const QChar code = text[++k];
        switch (code.toUpper().unicode()) {
        case 'L': part = &out.left; break;
        case 'C': part = &out.center; break;
        case 'R': part = &out.right; break;
        case 'A': part->append(fields.sheetName); break;
        case 'F': part->append(fields.fileName); break;
        case 'Z': break;  // the file's folder: not known here
        case 'N': part->append(QString::number(fields.pages)); break;
        case 'D': part->append(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)); break;
        case 'T': part->append(QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat)); break;
        case 'B': out.bold = !out.bold; break;
        case 'I': out.italic = !out.italic; break;
        case 'U': case 'E': out.underline = !out.underline; break;
        case '&': part->append(QLatin1Char('&')); break;
        case 'P': {
            // &P, or &P+n / &P-n: the page number moved by n.
            int page = fields.page;
            if (k + 2 < text.size() && (text[k + 1] == QLatin1Char('+') || text[k + 1] == QLatin1Char('-')) &&
                text[k + 2].isDigit()) {
                const int sign = text[k + 1] == QLatin1Char('+') ? 1 : -1;
                int n = 0;
                for (k += 2; k < text.size() && text[k].isDigit(); ++k) n = n * 10 + text[k].digitValue();
                --k;
                page += sign * n;
            }
            part->append(QString::number(page));
            break;
        }
        case '"': {
            // A font name and style, read over up to the closing quote.
            const qsizetype end = text.indexOf(QLatin1Char('"'), k + 1);
            k = end < 0 ? text.size() : end;
            break;
        }
        default:
            if (code.isDigit()) {
                int size = 0;
                for (; k < text.size() && text[k].isDigit(); ++k) size = size * 10 + text[k].digitValue();
                --k;
                if (size > 0) out.points = size;
            }
            // Other codes (strikeout, super- and subscript, pictures) are read over.
        }
    }
    return out;
}

void PaintHeaderFooter(QPainter& painter, const QRectF& band, const HeaderFooterText& text, bool atTop) {
    if (text.empty()) return;
    QFont font(QStringLiteral("Arial"));
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
    font.setPointSizeF(text.points * 72.0 / dpi);
    font.setBold(text.bold);
    font.setItalic(text.italic);
    font.setUnderline(text.underline);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int vertical = atTop ? Qt::AlignTop : Qt::AlignBottom;
    painter.drawText(band, vertical | Qt::AlignLeft, text.left);
    painter.drawText(band, vertical | Qt::AlignHCenter, text.center);
    painter.drawText(band, vertical | Qt::AlignRight, text.right);
    painter.restore();
}

}  // namespace render
