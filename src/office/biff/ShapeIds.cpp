#include "office/biff/ShapeIds.h"

#include <algorithm>

#include "office/biff/OfficeArt.h"

namespace office::biff {
namespace {
constexpr std::uint32_t kClusterSize = 1024;
}  // namespace

DrawingIds ShapeIdPlan::add(std::uint32_t shapeCount) {
    DrawingIds ids;
    ids.drawingId = static_cast<std::uint32_t>(drawings_.size() + 1);
    ids.shapeCount = std::max<std::uint32_t>(shapeCount, 1);
    // Cluster k holds the shape ids (k + 1) * 1024 up to (k + 2) * 1024 - 1.
    ids.firstShapeId = static_cast<std::uint32_t>((clusters_.size() + 1) * kClusterSize);
    for (std::uint32_t left = ids.shapeCount; left > 0;) {
        const std::uint32_t used = std::min(left, kClusterSize);
        clusters_.push_back({ids.drawingId, used});
        left -= used;
    }
    drawings_.push_back(ids);
    return ids;
}

std::vector<std::uint8_t> ShapeIdPlan::fdggBody() const {
    std::uint32_t highest = 0, shapes = 0;
    for (const DrawingIds& d : drawings_) {
        highest = std::max(highest, d.lastShapeId());
        shapes += d.shapeCount;
    }
    std::vector<std::uint8_t> body(16 + clusters_.size() * 8);
    art::putU32(body, 0, highest + 1);                                           // next free shape id
    art::putU32(body, 4, static_cast<std::uint32_t>(clusters_.size() + 1));      // clusters + 1
    art::putU32(body, 8, shapes);                                                // shapes saved
    art::putU32(body, 12, static_cast<std::uint32_t>(drawings_.size()));         // drawings saved
    for (std::size_t i = 0; i < clusters_.size(); ++i) {
        art::putU32(body, 16 + i * 8, clusters_[i].drawingId);
        art::putU32(body, 20 + i * 8, clusters_[i].used);
    }
    return body;
}

}  // namespace office::biff
