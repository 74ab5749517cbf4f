#pragma once
// The numbering of drawings and shapes across a workbook being written. Each
// drawing (a sheet's, or one inside a chart) gets the next drawing id and a
// run of whole clusters of 1024 shape ids; the drawing group's FDGG record
// lists which drawing owns which cluster.
#include <cstdint>
#include <vector>

namespace office::biff {

struct DrawingIds {
    std::uint32_t drawingId = 0;
    std::uint32_t firstShapeId = 0;  // the group shape of the drawing (its patriarch)
    std::uint32_t shapeCount = 0;    // patriarch included
    std::uint32_t lastShapeId() const { return firstShapeId + shapeCount - 1; }
};

class ShapeIdPlan {
public:
    // A new drawing holding `shapeCount` shapes (at least 1: the patriarch).
    DrawingIds add(std::uint32_t shapeCount);
    bool empty() const { return drawings_.empty(); }
    // The body of the FDGG record.
    std::vector<std::uint8_t> fdggBody() const;

private:
    struct Cluster {
        std::uint32_t drawingId;
        std::uint32_t used;
    };
    std::vector<Cluster> clusters_;
    std::vector<DrawingIds> drawings_;
};

}  // namespace office::biff
