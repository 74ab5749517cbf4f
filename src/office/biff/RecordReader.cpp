#include "office/biff/RecordReader.h"

#include "office/biff/BiffErrors.h"

namespace office::biff {

bool RecordReader::next(Record& record) {
    if (pos_ > stream_.size() || stream_.size() - pos_ < 4) return false;
    const std::uint8_t* h = stream_.data() + pos_;
    std::size_t size = static_cast<std::size_t>(h[2] | (h[3] << 8));
    if (stream_.size() - pos_ - 4 < size) throwDamaged("a record runs past the end of the workbook stream", pos_);
    record.id = static_cast<std::uint16_t>(h[0] | (h[1] << 8));
    record.offset = pos_;
    record.body = stream_.subspan(pos_ + 4, size);
    pos_ += 4 + size;
    return true;
}

int RecordReader::peekId() const {
    if (pos_ > stream_.size() || stream_.size() - pos_ < 4) return -1;
    return stream_[pos_] | (stream_[pos_ + 1] << 8);
}

}  // namespace office::biff
