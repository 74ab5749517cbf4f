#pragma once
// A frozen sheet on printed pages, laid out as the page setup the build wrote
// says: the printer, a PDF file and the export all take it from here.
class QPagedPaintDevice;
class QPainter;

namespace office {
struct ShownSheet;
struct PageSetup;
}  // namespace office

namespace render {

// Sets the device's paper size, orientation and margins from `setup`; call
// before a painter begins on the device.
void ApplyPageSetup(const office::PageSetup& setup, QPagedPaintDevice& device);

// Paints `sheet` page after page through `painter`, already begun on
// `device` (device.newPage() between pages), each with the setup's header
// and footer. Returns the number of pages painted: at least 1, an empty
// sheet gives one blank page.
int PaintSheetPages(const office::ShownSheet& sheet, const office::PageSetup& setup, QPainter& painter,
                    QPagedPaintDevice& device);

}  // namespace render
