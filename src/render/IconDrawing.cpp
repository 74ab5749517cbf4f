// The icon comes from the desktop's icon theme through Qt's mime database
// (by the file's name: the file need not exist). Without a desktop session
// Qt knows no theme: an installed one is chosen then, and where none has an
// icon for the type, a plain document is drawn.
#include "render/IconDrawing.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "render/ChartStyle.h"
#include "render/PictureCanvas.h"

namespace render {
namespace {

constexpr qreal kIconSize = 32;      // logical units, Excel's icon size
constexpr qreal kLabelPt = 8;        // the label's font, as Windows writes icon labels
constexpr qreal kMaxLabelWidth = 240;
constexpr qreal kPadding = 2;

// Qt has a theme when a desktop session gave it one.
void chooseInstalledTheme() {
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QStringLiteral("hicolor")) return;
    for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("breeze"), QStringLiteral("Papirus"),
                                 QStringLiteral("oxygen"), QStringLiteral("Tango")})
        for (const QString& path : QIcon::themeSearchPaths())
            if (QFileInfo::exists(path + QLatin1Char('/') + theme + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(theme);
                return;
            }
}

QIcon themeIcon(const std::string& filePath) {
    chooseInstalledTheme();
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QString::fromStdString(filePath), QMimeDatabase::MatchExtension);
    for (const QString& name : {type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")}) {
        QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull()) return icon;
    }
    return {};
}

// A white page with a folded corner, for a type no installed theme knows.
void drawPlainDocument(QPainter& p, const QRectF& box) {
    const QRectF page = box.adjusted(box.width() * 0.18, box.height() * 0.06, -box.width() * 0.18, -box.height() * 0.06);
    const qreal fold = page.width() * 0.3;
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    p.drawPolyline(QPolygonF({QPointF(page.right() - fold, page.top()), QPointF(page.right() - fold, page.top() + fold),
                              QPointF(page.right(), page.top() + fold)}));
    p.setPen(QPen(QColor(160, 160, 160), 1));
    for (int line = 1; line <= 4; ++line) {
        const qreal y = page.top() + fold + line * (page.height() - fold) / 6;
        p.drawLine(QPointF(page.left() + 4, y), QPointF(page.right() - 4, y));
    }
}

}  // namespace

automation::Picture drawIcon(const std::string& filePath, const std::string& label) {
    const QFont font = chartFont(kLabelPt);
    const QFontMetricsF metrics(font);
    const QString text =
        metrics.elidedText(QString::fromStdString(label), Qt::ElideMiddle, kMaxLabelWidth);
    const qreal textWidth = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
    const qreal textHeight = text.isEmpty() ? 0 : metrics.height();
    const qreal width = std::max(kIconSize, textWidth) + 2 * kPadding;
    const qreal height = kIconSize + textHeight + 3 * kPadding;

    PictureCanvas canvas(width, height);
    QPainter p(&canvas.image());
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF iconBox((width - kIconSize) / 2, kPadding, kIconSize, kIconSize);
    const QIcon icon = themeIcon(filePath);
    if (icon.isNull())
        drawPlainDocument(p, iconBox);
    else
        icon.paint(&p, iconBox.toRect());
    if (!text.isEmpty()) {
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRectF(0, iconBox.bottom() + kPadding, width, textHeight), Qt::AlignHCenter | Qt::AlignTop, text);
    }
    p.end();
    return canvas.toPicture();
}

}  // namespace render
