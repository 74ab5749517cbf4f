#include "office/biff/SharedStrings.h"

#include <algorithm>

#include "office/biff/BiffRecords.h"
#include "office/biff/RecordReader.h"

namespace office::biff {

SharedStrings::SharedStrings(std::vector<std::string> texts, std::span<const std::uint8_t> stream,
                             std::span<const std::uint32_t> sheetOffsets)
    : texts_(std::move(texts)) {
    if (texts_.empty()) return;
    // Every record a sheet reader can meet is a record of this walk when each
    // sheet starts on one: the readers go from record to record from there.
    // Counting records a sheet reader skips only makes a text copied once more.
    std::vector<std::uint32_t> starts(sheetOffsets.begin(), sheetOffsets.end());
    std::sort(starts.begin(), starts.end());
    auto nextStart = starts.begin();
    std::vector<std::uint32_t> uses(texts_.size(), 0);
    RecordReader reader(stream);
    Record r;
    for (std::size_t at = reader.position(); reader.next(r); at = reader.position()) {
        while (nextStart != starts.end() && *nextStart < at) {
            if (*nextStart < stream.size()) return;  // a sheet inside a record: copy every text
            ++nextStart;
        }
        while (nextStart != starts.end() && *nextStart == at) ++nextStart;
        if (r.id == rec::kLabelSst && r.body.size() >= 10) {
            const std::uint32_t index = static_cast<std::uint32_t>(r.body[6] | r.body[7] << 8 | r.body[8] << 16 |
                                                                   static_cast<std::uint32_t>(r.body[9]) << 24);
            if (index < uses.size() && uses[index] < UINT32_MAX) ++uses[index];
        }
    }
    // Sheets starting after the last record are no sheets the readers can read.
    usesLeft_ = std::move(uses);
}

std::string SharedStrings::take(std::uint32_t index) {
    if (usesLeft_.empty() || usesLeft_[index] > 1) {
        if (!usesLeft_.empty()) --usesLeft_[index];
        return texts_[index];
    }
    usesLeft_[index] = 0;
    return std::move(texts_[index]);
}

}  // namespace office::biff
