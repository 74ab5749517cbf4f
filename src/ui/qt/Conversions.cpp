#include "ui/qt/Conversions.h"

#include <algorithm>

#include "ui/qt/Units.h"

namespace ui::qt {

QString displayLines(const std::string& text) {
    QString lines = toQString(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QChar('\r'), QChar('\n'));
    return lines;
}

std::string modelLines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QChar('\n'), QStringLiteral("\r\n"));
    return toStdString(lines);
}

std::optional<QColor> toQColor(std::optional<Color> color) {
    if (!color || (*color & 0x80000000u)) return std::nullopt;
    return QColor(static_cast<int>(*color & 0xFF), static_cast<int>((*color >> 8) & 0xFF),
                  static_cast<int>((*color >> 16) & 0xFF));
}

QFont toQFont(const ui::Font& font) {
    QFont qfont(toQString(font.name));
    qfont.setPixelSize(std::max(1, toPixels(font.size)));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    return qfont;
}

}  // namespace ui::qt
