#pragma once
// A form's picture on paper: the window's client area as an image, drawn on
// the page as large as fits, keeping its proportions.
#include <QImage>
#include <QPagedPaintDevice>

namespace ui::qt {

// False when nothing could be drawn (no image, the device refused to start).
bool printImage(QPagedPaintDevice& device, const QImage& image);

}  // namespace ui::qt
