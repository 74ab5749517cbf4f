#include "render/PictureCanvas.h"

#include <QBuffer>
#include <QImageWriter>
#include <cmath>

#include "automation/AutomationError.h"
#include "render/QtPictureMaker.h"

namespace render {
namespace {

constexpr double kScale = QtPictureMaker::kDotsPerInch / 96.0;
constexpr double kInchesPerMeter = 1 / 0.0254;

}  // namespace

double pixelsPerLogical() { return kScale; }

PictureCanvas::PictureCanvas(double widthLogical, double heightLogical)
    : image_(std::max(1, static_cast<int>(std::lround(widthLogical * kScale))),
             std::max(1, static_cast<int>(std::lround(heightLogical * kScale))), QImage::Format_ARGB32_Premultiplied),
      width_(widthLogical),
      height_(heightLogical) {
    if (image_.isNull())
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "The picture is too large to be drawn.");
    image_.setDevicePixelRatio(kScale);
    image_.fill(Qt::transparent);
}

automation::Picture PictureCanvas::toPicture() {
    const int dotsPerMeter = static_cast<int>(std::lround(QtPictureMaker::kDotsPerInch * kInchesPerMeter));
    image_.setDevicePixelRatio(1);
    image_.setDotsPerMeterX(dotsPerMeter);
    image_.setDotsPerMeterY(dotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image_))
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "The picture could not be stored as PNG: " + writer.errorString().toStdString());
    automation::Picture picture;
    picture.png.assign(bytes.begin(), bytes.end());
    picture.widthPx = image_.width();
    picture.heightPx = image_.height();
    return picture;
}

}  // namespace render
