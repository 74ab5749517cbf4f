#pragma once
// Reading the string forms of BIFF8: inside one record (FONT, FORMAT,
// BOUNDSHEET8, LABEL), and spread over a record and its CONTINUE records
// (SST, STRING), where every continuation that falls inside the characters
// starts with the 1-byte high-byte flag again.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "office/biff/ByteCursor.h"
#include "office/biff/RecordReader.h"

namespace office::biff {

// cch u8, flags u8, characters (ShortXLUnicodeString).
std::string readShortString(ByteCursor& in);
// cch u16, flags u8, [runs count], [extended size], characters, runs, extended data.
std::string readUnicodeString(ByteCursor& in);

// A record body followed by the bodies of its CONTINUE records, read as one.
class ContinuedBytes {
public:
    // Takes `first` and consumes the CONTINUE records that follow it in `reader`.
    ContinuedBytes(const Record& first, RecordReader& reader);

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::size_t n);
    // A whole XLUnicodeRichExtendedString (SST entry, STRING body) appended to `out`.
    void readString(std::string& out);
    // The same string checked and passed over, its characters not decoded.
    void skipString();
    // The string's characters where they lie, when it is plain ASCII in one
    // record, 8-bit, without formatting runs or extra data: most texts, and
    // then no copy is made. Otherwise false, and nothing is read.
    bool readAsciiInPlace(std::string_view& out);

    // Where reading stands, to come back to it.
    struct Position {
        std::uint32_t segment = 0;
        std::uint32_t byte = 0;
    };
    Position position() const { return {static_cast<std::uint32_t>(seg_), static_cast<std::uint32_t>(pos_)}; }
    void seek(Position at) {
        seg_ = at.segment;
        pos_ = at.byte;
    }
    std::uint64_t offset() const;
    // Bytes not read yet, in this record and its continuations.
    std::size_t bytesLeft() const;

private:
    struct Segment {
        std::span<const std::uint8_t> bytes;
        std::uint64_t offset;
    };
    void toNextSegment();
    std::size_t left() const { return segments_[seg_].bytes.size() - pos_; }
    void readChars(std::size_t count, bool highByte, std::string* out);  // none: skipped
    void readString(std::string* out);

    std::vector<Segment> segments_;
    std::size_t seg_ = 0;
    std::size_t pos_ = 0;
};

}  // namespace office::biff
