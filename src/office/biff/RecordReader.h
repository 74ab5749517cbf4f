#pragma once
// Walks the records of a Workbook stream: a u16 id and u16 size header, then
// the body. A body running past the end of the stream is damage.
#include <cstdint>
#include <span>

namespace office::biff {

struct Record {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> body;
    std::uint64_t offset = 0;  // of the record header in the stream
    std::uint64_t bodyOffset() const { return offset + 4; }
};

class RecordReader {
public:
    RecordReader(std::span<const std::uint8_t> stream, std::size_t position = 0)
        : stream_(stream), pos_(position) {}

    // The next record; false at the end of the stream (fewer than 4 bytes left).
    bool next(Record& record);
    // The id of the record next() would return, or -1 at the end.
    int peekId() const;
    std::size_t position() const { return pos_; }

private:
    std::span<const std::uint8_t> stream_;
    std::size_t pos_;
};

}  // namespace office::biff
