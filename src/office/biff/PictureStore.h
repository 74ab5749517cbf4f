#pragma once
// The workbook's drawing group (MSODRAWINGGROUP): the picture store whose
// entries the sheets' pictures name, and the numbering of all drawings.
#include <cstdint>
#include <span>
#include <vector>

#include "office/biff/RecordWriter.h"
#include "office/biff/ShapeIds.h"
#include "office/model/Drawing.h"

namespace office::biff {

// The picture store of the drawing group data (the bodies of MSODRAWINGGROUP
// and its CONTINUE records, joined). Damaged data raises the damaged-file
// error; `streamOffset` places data[0] for the message.
std::vector<StoredPicture> readPictureStore(std::span<const std::uint8_t> data, std::uint64_t streamOffset);

// MSODRAWINGGROUP (with CONTINUE records as needed): the drawing numbering of
// `plan`, the store with `references[i]` uses of entry i, and the default
// shape properties Excel writes.
void writeDrawingGroup(RecordWriter& out, const ShapeIdPlan& plan, const std::vector<StoredPicture>& pictures,
                       const std::vector<std::uint32_t>& references);

// A store entry for a PNG file, as Excel stores a pasted picture.
StoredPicture pngPicture(std::span<const std::uint8_t> png);

// Writes `data` as a record `id` followed by CONTINUE records of at most the
// longest body each.
void writeContinued(RecordWriter& out, std::uint16_t id, std::span<const std::uint8_t> data);

}  // namespace office::biff
