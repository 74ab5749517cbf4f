#pragma once
// A worksheet's drawing layer: the OfficeArt data of its MSODRAWING records,
// the OBJ, TXO and CONTINUE records between their pieces, and the chart
// substreams after chart objects; read into drawing objects and written back.
#include <cstdint>
#include <span>
#include <vector>

#include "office/biff/RecordReader.h"
#include "office/biff/RecordWriter.h"
#include "office/biff/ShapeIds.h"
#include "office/model/Drawing.h"

namespace office::biff {

// Which part of a drawing a record of a sheet or chart substream is. Drawing
// data comes in MSODRAWING records and, past the first 8224 bytes of a
// drawing, in CONTINUE records too; a TXO is followed by CONTINUE records with
// its text and formatting runs; an OBJ is never continued.
class DrawingRecordKinds {
public:
    enum class Kind { Drawing, Host, Other };
    Kind next(const Record& record);

private:
    enum class After { Other, Drawing, Object, TextBox };
    After after_ = After::Other;
    std::size_t textLeft_ = 0;  // characters of the TXO still to come
    std::size_t runsLeft_ = 0;  // bytes of its formatting runs still to come
};

// Collects the drawing records of one worksheet as they come; finish() makes
// the objects. Damaged drawing data raises the damaged-file error.
class SheetDrawingReader {
public:
    void addData(const Record& record);        // MSODRAWING, or a CONTINUE after one
    void addHostRecord(const Record& record);  // OBJ, TXO, or a CONTINUE after one of them
    // The whole chart substream after the last host record (a chart's OBJ).
    void addChart(std::span<const std::uint8_t> substream);
    std::vector<DrawingObject> finish();

private:
    struct Host {
        std::size_t at;  // bytes of drawing data before it
        RawRecord record;
        std::vector<std::uint8_t> chart;
    };
    std::vector<std::uint8_t> data_;
    std::uint64_t firstOffset_ = 0;
    std::vector<Host> hosts_;
};

// The ids a written sheet's drawings take: its own drawing's, and one per
// chart object that holds a drawing of its own (in object order).
struct SheetDrawingIds {
    DrawingIds sheet;
    std::vector<DrawingIds> charts;
};

// The shapes of the sheet's drawing (group shape included); 0 when nothing
// is drawn. Objects that cannot be written (a picture naming no stored
// picture, a chart without data) are left out of both this and the writing.
std::uint32_t sheetShapeCount(const std::vector<DrawingObject>& objects, std::size_t pictureCount);
bool writableObject(const DrawingObject& object, std::size_t pictureCount);

// MSODRAWING records with the host records and charts between them.
void writeSheetDrawing(RecordWriter& out, const std::vector<DrawingObject>& objects, std::size_t pictureCount,
                       const SheetDrawingIds& ids);

}  // namespace office::biff
