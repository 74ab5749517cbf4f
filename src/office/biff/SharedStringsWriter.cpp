#include "office/biff/SharedStringsWriter.h"
#include "text/Utf.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <type_traits>

#include "office/biff/BiffRecords.h"

namespace office::biff {
namespace {

struct Bucket {
    std::uint32_t streamOffset;
    std::uint16_t recordOffset;
};

bool isAscii(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, text.data() + i, 8);
        if (eight & 0x8080808080808080u) return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) & 0x80) return false;
    return true;
}

void putChars(RecordWriter& out, std::u16string_view units, bool compressed) { out.chars(units, compressed); }
void putChars(RecordWriter& out, std::string_view ascii, bool) {
    out.raw(reinterpret_cast<const std::uint8_t*>(ascii.data()), ascii.size());
}

// One string of the table, its characters going on in CONTINUE records as
// needed. `Text` holds UTF-16 units, or bytes that are all ASCII (written
// 8-bit as they are). With `buckets`, the string starts an EXTSST bucket.
template <typename Text>
void writeString(RecordWriter& out, Text text, bool compressed, std::vector<Bucket>* buckets) {
    const std::size_t unit = compressed ? 1 : 2;
    // The 3-byte header and the first character stay together in one record.
    if (out.bodySize() + 3 + (text.empty() ? 0 : unit) > rec::kMaxBody) {
        out.end();
        out.begin(rec::kContinue);
    }
    if (buckets)
        buckets->push_back({static_cast<std::uint32_t>(out.size()), static_cast<std::uint16_t>(out.bodySize() + 4)});
    out.u16(static_cast<std::uint16_t>(text.size()));
    out.u8(compressed ? 0 : 1);
    while (!text.empty()) {
        std::size_t n = std::min((rec::kMaxBody - out.bodySize()) / unit, text.size());
        // Keep surrogate pairs whole: some readers decode each record's part on its own.
        if constexpr (std::is_same_v<Text, std::u16string_view>)
            if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
        if (n == 0) {
            // The characters go on in a CONTINUE that repeats the high-byte flag.
            out.end();
            out.begin(rec::kContinue);
            out.u8(compressed ? 0 : 1);
            continue;
        }
        putChars(out, text.substr(0, n), compressed);
        text.remove_prefix(n);
    }
}

}  // namespace

std::uint32_t SharedStringsWriter::add(std::string_view text) {
    ++uses_;
    if (2 * (strings_.size() + 1) > slots_.size()) grow();
    const std::size_t hash = std::hash<std::string_view>{}(text);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const std::uint32_t slot = slots_[at];
        if (slot == 0) {
            strings_.push_back(text);
            hashes_.push_back(hash);
            slots_[at] = static_cast<std::uint32_t>(strings_.size());
            return static_cast<std::uint32_t>(strings_.size() - 1);
        }
        if (hashes_[slot - 1] == hash && strings_[slot - 1] == text) return slot - 1;
    }
}

void SharedStringsWriter::reserve(std::size_t more) {
    const std::size_t texts = strings_.size() + more;
    strings_.reserve(texts);
    hashes_.reserve(texts);
    if (2 * texts > slots_.size()) grow(2 * texts);
}

void SharedStringsWriter::grow(std::size_t atLeast) {
    std::size_t size = std::max<std::size_t>(1024, 2 * slots_.size());
    while (size < atLeast) size *= 2;
    slots_.assign(size, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < strings_.size(); ++i) {
        std::size_t at = hashes_[i] & mask;
        while (slots_[at] != 0) at = (at + 1) & mask;
        slots_[at] = static_cast<std::uint32_t>(i + 1);
    }
}

void SharedStringsWriter::write(RecordWriter& out) const {
    // EXTSST points at every dsst-th string so readers can seek; at most 128 buckets.
    const std::size_t perBucket = std::clamp<std::size_t>((strings_.size() + 127) / 128, 8, 0xFFFF);
    std::vector<Bucket> buckets;
    out.begin(rec::kSst);
    out.u32(uses_);
    out.u32(static_cast<std::uint32_t>(strings_.size()));
    std::u16string units;
    for (std::size_t i = 0; i < strings_.size(); ++i) {
        const bool bucket = i % perBucket == 0;
        if (isAscii(strings_[i])) {
            // Its bytes are its characters, 8-bit: no conversion needed.
            std::string_view text = strings_[i].substr(0, kMaxUnits);
            writeString(out, text, true, bucket ? &buckets : nullptr);
        } else {
            text::utf8ToUtf16(strings_[i], units);
            std::u16string_view text = clipUnits(units, kMaxUnits);
            writeString(out, text, RecordWriter::fitsCompressed(text), bucket ? &buckets : nullptr);
        }
    }
    out.end();

    out.begin(rec::kExtSst);
    out.u16(static_cast<std::uint16_t>(perBucket));
    for (const Bucket& b : buckets) {
        out.u32(b.streamOffset);
        out.u16(b.recordOffset);
        out.u16(0);
    }
    out.end();
}

}  // namespace office::biff
