#pragma once
// Model values (UTF-8 texts, colours with red in the low byte, fonts in
// points) turned into their Qt counterparts and back.
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "ui/model/Types.h"

namespace ui::qt {

inline QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string toStdString(const QString& text) { return text.toStdString(); }

// Texts break lines with "\r\n", "\r" or "\n"; each counts as one break.
QString displayLines(const std::string& text);
// A multi-line box's text as the model keeps it: lines joined with "\r\n".
std::string modelLines(const QString& text);

// System colours (the high bit set) have no fixed value: they give nothing,
// and the widget keeps the style's colour.
std::optional<QColor> toQColor(std::optional<Color> color);

// Sized in pixels at the fixed 4/3 pixels per point (see Units.h).
QFont toQFont(const ui::Font& font);

}  // namespace ui::qt
