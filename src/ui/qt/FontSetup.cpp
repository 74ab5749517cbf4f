#include "ui/qt/FontSetup.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace ui::qt {

// The forms are designed in "Tahoma" and "Courier New". Wine ships a free
// Tahoma look-alike (family "Tahoma") in /usr/share/wine/fonts, a folder
// fontconfig does not search, so it is loaded as an application font.
// "Courier New" is mapped to the metric-compatible "Liberation Mono" so the
// columns of lists set in it line up. Missing files only cost the look: Qt
// then falls back to its default fonts.
void installFormFonts() {
    static bool installed = false;
    if (installed) return;
    installed = true;

    // Only the regular face: Wine's bold face draws thin, wide strokes at the
    // small sizes forms use, while the regular face emboldened by the font
    // engine looks like the bold the forms were designed with.
    const QString wineTahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(wineTahoma)) QFontDatabase::addApplicationFont(wineTahoma);

    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}

}  // namespace ui::qt
