#include "office/biff/BiffStrings.h"

#include <algorithm>
#include <cstring>

#include "office/biff/BiffRecords.h"
#include "text/Utf.h"

namespace office::biff {
namespace {

constexpr std::uint8_t kHighByte = 0x01;
constexpr std::uint8_t kExtended = 0x04;
constexpr std::uint8_t kRich = 0x08;

void readCharsInRecord(ByteCursor& in, std::size_t count, std::uint8_t flags, std::string& out) {
    if (flags & kHighByte) {
        auto bytes = in.take(count * 2);
        text::Utf16Decoder decoder(out);
        decoder.addLittleEndian(bytes.data(), count);
        decoder.finish();
    } else {
        auto bytes = in.take(count);
        text::appendLatin1(out, bytes.data(), count);
    }
}

}  // namespace

std::string readShortString(ByteCursor& in) {
    std::size_t count = in.u8();
    std::uint8_t flags = in.u8();
    std::string out;
    readCharsInRecord(in, count, flags, out);
    return out;
}

std::string readUnicodeString(ByteCursor& in) {
    std::size_t count = in.u16();
    std::uint8_t flags = in.u8();
    std::size_t runs = (flags & kRich) ? in.u16() : 0;
    std::size_t extended = (flags & kExtended) ? in.u32() : 0;
    std::string out;
    readCharsInRecord(in, count, flags, out);
    // Formatting runs and phonetic data may be cut short in files from other writers.
    in.skip(std::min(runs * 4, in.remaining()));
    in.skip(std::min(extended, in.remaining()));
    return out;
}

ContinuedBytes::ContinuedBytes(const Record& first, RecordReader& reader) {
    segments_.push_back({first.body, first.bodyOffset()});
    Record next;
    while (reader.peekId() == rec::kContinue && reader.next(next)) segments_.push_back({next.body, next.bodyOffset()});
}

std::uint64_t ContinuedBytes::offset() const {
    if (seg_ >= segments_.size()) return segments_.back().offset + segments_.back().bytes.size();
    return segments_[seg_].offset + pos_;
}

std::size_t ContinuedBytes::bytesLeft() const {
    if (seg_ >= segments_.size()) return 0;
    std::size_t n = left();
    for (std::size_t s = seg_ + 1; s < segments_.size(); ++s) n += segments_[s].bytes.size();
    return n;
}

void ContinuedBytes::toNextSegment() {
    ++seg_;
    pos_ = 0;
    if (seg_ >= segments_.size()) throwDamaged("a string table or string ends before its data", offset());
}

std::uint8_t ContinuedBytes::u8() {
    while (left() == 0) toNextSegment();
    return segments_[seg_].bytes[pos_++];
}

std::uint16_t ContinuedBytes::u16() {
    std::uint16_t lo = u8();
    return static_cast<std::uint16_t>(lo | (u8() << 8));
}

std::uint32_t ContinuedBytes::u32() {
    std::uint32_t lo = u16();
    return lo | (static_cast<std::uint32_t>(u16()) << 16);
}

void ContinuedBytes::skip(std::size_t n) {
    while (n > 0) {
        while (left() == 0) toNextSegment();
        std::size_t step = std::min(n, left());
        pos_ += step;
        n -= step;
    }
}

void ContinuedBytes::readChars(std::size_t count, bool highByte, std::string* out) {
    if (!out) {
        while (count > 0) {
            if (left() == 0) {
                toNextSegment();
                highByte = (u8() & kHighByte) != 0;
                continue;
            }
            const std::size_t available = highByte ? left() / 2 : left();
            if (available == 0) throwDamaged("a string character is split between records", offset());
            const std::size_t n = std::min(count, available);
            pos_ += highByte ? n * 2 : n;
            count -= n;
        }
        return;
    }
    out->reserve(out->size() + count);  // the least it takes
    text::Utf16Decoder decoder(*out);
    while (count > 0) {
        if (left() == 0) {
            // Characters going on in the next record: it repeats the high-byte flag.
            toNextSegment();
            highByte = (u8() & kHighByte) != 0;
            continue;
        }
        const std::uint8_t* p = segments_[seg_].bytes.data() + pos_;
        std::size_t available = highByte ? left() / 2 : left();
        if (available == 0) throwDamaged("a string character is split between records", offset());
        std::size_t n = std::min(count, available);
        if (highByte) {
            decoder.addLittleEndian(p, n);
            pos_ += n * 2;
        } else {
            decoder.finish();
            text::appendLatin1(*out, p, n);
            pos_ += n;
        }
        count -= n;
    }
    decoder.finish();
}

void ContinuedBytes::readString(std::string& out) { readString(&out); }

bool ContinuedBytes::readAsciiInPlace(std::string_view& out) {
    if (seg_ >= segments_.size() || left() < 3) return false;
    const std::uint8_t* p = segments_[seg_].bytes.data() + pos_;
    const std::size_t count = static_cast<std::size_t>(p[0] | (p[1] << 8));
    if (p[2] != 0 || left() - 3 < count) return false;  // 16-bit, runs, extra data or continued
    // Eight characters a step: every cell of a block read of the lines comes here.
    std::size_t i = 0;
    for (std::uint64_t word; i + 8 <= count; i += 8) {
        std::memcpy(&word, p + 3 + i, 8);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < count; ++i)
        if (p[3 + i] & 0x80) return false;
    out = std::string_view(reinterpret_cast<const char*>(p + 3), count);
    pos_ += 3 + count;
    return true;
}

void ContinuedBytes::skipString() { readString(nullptr); }

void ContinuedBytes::readString(std::string* out) {
    std::size_t count = u16();
    std::uint8_t flags = u8();
    std::size_t runs = (flags & kRich) ? u16() : 0;
    std::size_t extended = (flags & kExtended) ? u32() : 0;
    readChars(count, (flags & kHighByte) != 0, out);
    skip(runs * 4);
    skip(extended);
}

}  // namespace office::biff
