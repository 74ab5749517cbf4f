#pragma once
// An image to draw a picture on, in logical units of 1/96 inch (Qt's unit
// for widgets and charts), stored at the picture density, and its PNG.
#include <QImage>

#include "automation/Pictures.h"

namespace render {

class PictureCanvas {
public:
    // Transparent, `widthLogical` x `heightLogical` units of 1/96 inch.
    PictureCanvas(double widthLogical, double heightLogical);

    QImage& image() { return image_; }
    double widthLogical() const { return width_; }
    double heightLogical() const { return height_; }

    // The finished PNG, recording the density so it keeps its size in points.
    automation::Picture toPicture();

private:
    QImage image_;
    double width_;
    double height_;
};

// Points to logical units.
constexpr double kLogicalPerPoint = 96.0 / 72.0;
// Image pixels per logical unit.
double pixelsPerLogical();

}  // namespace render
