// Object icons: the file type's icon with its label under it, from the icon
// theme where one is installed and drawn by hand where none is.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "render/QtPictureMaker.h"

namespace {

QImage decode(const automation::Picture& picture) {
    QImage image = QImage::fromData(picture.png.data(), static_cast<int>(picture.png.size()), "PNG");
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(picture.widthPx, picture.heightPx));
    return image.convertToFormat(QImage::Format_ARGB32);
}

int count(const QImage& image, QRect area, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += test(image.pixel(x, y));
    return n;
}

bool opaque(QRgb p) { return qAlpha(p) > 200; }
bool dark(QRgb p) { return qAlpha(p) > 128 && qGray(p) < 110; }
bool white(QRgb p) { return qAlpha(p) == 255 && (p & 0xFFFFFF) == 0xFFFFFF; }

constexpr double kScale = render::QtPictureMaker::kDotsPerInch / 96;
const int kIconPixels = static_cast<int>(32 * kScale);

TEST(IconPicture, IconWithItsLabelUnderIt) {
    render::QtPictureMaker maker;
    const QImage image = decode(maker.iconPicture("/nowhere/Quarterly report.pdf", "Quarterly report.pdf"));
    EXPECT_GE(image.width(), kIconPixels);
    EXPECT_GT(image.height(), kIconPixels);
    const QRect icon((image.width() - kIconPixels) / 2, 0, kIconPixels, kIconPixels);
    const QRect label(0, kIconPixels + 2, image.width(), image.height() - kIconPixels - 2);
    EXPECT_GT(count(image, icon, opaque), kIconPixels * kIconPixels / 10);
    EXPECT_GT(count(image, label, dark), 40);
    // Outside the icon and the text the picture is transparent, as Excel's icons are.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);

    const QImage bare = decode(maker.iconPicture("/nowhere/notes.txt", ""));
    EXPECT_LT(bare.height(), image.height());
    EXPECT_LE(bare.width(), image.width());

    // A long name is shortened in its middle rather than making a huge picture.
    const QImage longName = decode(maker.iconPicture("/x/a.pdf", std::string(400, 'n') + ".pdf"));
    EXPECT_LE(longName.width(), static_cast<int>(260 * kScale));
}

TEST(IconPicture, PlainDocumentWhereNoThemeHasAnIcon) {
    render::QtPictureMaker maker;
    maker.iconPicture("/x/first.doc", "first.doc");  // makes the application object
    const QString theme = QIcon::themeName();
    const QStringList paths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    const QImage image = decode(maker.iconPicture("/x/archive.zzqq", "archive.zzqq"));
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);
    // A white page with a grey outline.
    const QRect icon((image.width() - kIconPixels) / 2, 0, kIconPixels, kIconPixels);
    EXPECT_GT(count(image, icon, white), kIconPixels * kIconPixels / 4);
    EXPECT_GT(count(image, icon, [](QRgb p) { return qAlpha(p) == 255 && qGray(p) < 120; }), 20);
    // The installed theme's icon, where there is one, is another picture.
    if (!QIcon::fromTheme(QStringLiteral("text-x-generic")).isNull()) {
        const QImage themed = decode(maker.iconPicture("/x/archive.zzqq", "archive.zzqq"));
        EXPECT_NE(themed.copy(icon), image.copy(icon));
    }
}

}  // namespace
