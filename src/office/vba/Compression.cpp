#include "office/vba/Compression.h"

#include <algorithm>
#include <array>
#include <string>

#include "automation/AutomationError.h"

namespace office::vba {
namespace {

constexpr std::uint8_t kSignature = 0x01;
constexpr std::size_t kChunkSize = 4096;
constexpr std::uint16_t kSizeMask = 0x0FFF;
constexpr std::uint16_t kSignatureBits = 0x3000;  // bits 12-14 are always 0b011
constexpr std::uint16_t kCompressedFlag = 0x8000;
constexpr std::size_t kMinMatch = 3;

[[noreturn]] void damaged(const std::string& what, std::size_t offset) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                      "The macro project is damaged: " + what + " (at offset " +
                                          std::to_string(offset) + " of a compressed stream).",
                                      {}, static_cast<std::int64_t>(offset));
}

// How many of a copy token's 16 bits hold the offset, at `position` bytes
// into the chunk: enough for position - 1, and at least 4.
unsigned offsetBits(std::size_t position) {
    unsigned bits = 4;
    while ((std::size_t{1} << bits) < position) ++bits;
    return bits;
}

class ChunkCompressor {
public:
    explicit ChunkCompressor(std::span<const std::uint8_t> chunk) : in_(chunk), prev_(chunk.size()) {
        head_.fill(kNone);
    }

    // The chunk body (flag bytes and tokens), or an empty vector when the
    // body would be larger than the chunk itself.
    std::vector<std::uint8_t> run() {
        std::vector<std::uint8_t> out;
        out.reserve(in_.size() + in_.size() / 8 + 1);
        std::size_t pos = 0;
        while (pos < in_.size()) {
            const std::size_t flagAt = out.size();
            out.push_back(0);
            for (int bit = 0; bit < 8 && pos < in_.size(); ++bit) {
                const auto [length, offset] = bestMatch(pos);
                if (length >= kMinMatch) {
                    const unsigned bits = offsetBits(pos);
                    const std::size_t maxLength = (0xFFFFu >> bits) + kMinMatch;
                    const std::size_t take = std::min(length, maxLength);
                    const auto token = static_cast<std::uint16_t>(((offset - 1) << (16 - bits)) | (take - kMinMatch));
                    out.push_back(static_cast<std::uint8_t>(token));
                    out.push_back(static_cast<std::uint8_t>(token >> 8));
                    out[flagAt] |= static_cast<std::uint8_t>(1u << bit);
                    for (std::size_t i = 0; i < take; ++i) remember(pos + i);
                    pos += take;
                } else {
                    out.push_back(in_[pos]);
                    remember(pos);
                    ++pos;
                }
            }
        }
        if (out.size() > kChunkSize) out.clear();
        return out;
    }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    std::uint32_t key(std::size_t pos) const {
        return std::uint32_t(in_[pos]) << 16 | std::uint32_t(in_[pos + 1]) << 8 | in_[pos + 2];
    }
    std::size_t hashOf(std::size_t pos) const { return (key(pos) * 2654435761u) >> 20; }

    // Every earlier position with the same first three bytes is on one chain,
    // nearest first.
    void remember(std::size_t pos) {
        if (pos + kMinMatch > in_.size()) return;
        const std::size_t h = hashOf(pos);
        prev_[pos] = head_[h];
        head_[h] = static_cast<std::uint32_t>(pos);
    }

    // The longest match before `pos`; among equally long ones the nearest,
    // as the format's reference algorithm picks it. Lengths run to the end of
    // the chunk; the caller cuts them to what a token can hold.
    std::pair<std::size_t, std::size_t> bestMatch(std::size_t pos) const {
        if (pos + kMinMatch > in_.size()) return {0, 0};
        const std::size_t limit = in_.size() - pos;
        std::size_t bestLength = 0, bestOffset = 0;
        for (std::uint32_t c = head_[hashOf(pos)]; c != kNone; c = prev_[c]) {
            if (key(c) != key(pos)) continue;
            std::size_t length = kMinMatch;
            while (length < limit && in_[c + length] == in_[pos + length]) ++length;
            if (length > bestLength) {
                bestLength = length;
                bestOffset = pos - c;
                if (length == limit) break;  // nothing farther can be longer
            }
        }
        return {bestLength, bestOffset};
    }

    std::span<const std::uint8_t> in_;
    std::array<std::uint32_t, 4096> head_{};
    std::vector<std::uint32_t> prev_;
};

void putHeader(std::vector<std::uint8_t>& out, std::uint16_t header) {
    out.push_back(static_cast<std::uint8_t>(header));
    out.push_back(static_cast<std::uint8_t>(header >> 8));
}

}  // namespace

std::vector<std::uint8_t> compress(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 2 + 16);
    out.push_back(kSignature);
    for (std::size_t start = 0; start < data.size(); start += kChunkSize) {
        const auto chunk = data.subspan(start, std::min(kChunkSize, data.size() - start));
        const std::vector<std::uint8_t> body = ChunkCompressor(chunk).run();
        if (!body.empty()) {
            putHeader(out, static_cast<std::uint16_t>(kCompressedFlag | kSignatureBits | (body.size() + 2 - 3)));
            out.insert(out.end(), body.begin(), body.end());
        } else {
            // A raw chunk always holds 4096 bytes; a short last one is padded.
            putHeader(out, static_cast<std::uint16_t>(kSignatureBits | (kChunkSize + 2 - 3)));
            out.insert(out.end(), chunk.begin(), chunk.end());
            out.insert(out.end(), kChunkSize - chunk.size(), 0);
        }
    }
    return out;
}

std::vector<std::uint8_t> decompress(std::span<const std::uint8_t> container) {
    if (container.empty() || container[0] != kSignature) damaged("the signature byte is missing", 0);
    std::vector<std::uint8_t> out;
    std::size_t pos = 1;
    while (pos < container.size()) {
        const std::size_t chunkAt = pos;
        if (container.size() - pos < 2) damaged("a chunk header is cut short", pos);
        const auto header = static_cast<std::uint16_t>(container[pos] | container[pos + 1] << 8);
        if ((header & 0x7000) != kSignatureBits) damaged("a chunk header has a wrong signature", pos);
        const std::size_t size = (header & kSizeMask) + 3;
        const std::size_t end = std::min(chunkAt + size, container.size());
        pos += 2;
        const std::size_t chunkStart = out.size();
        if (!(header & kCompressedFlag)) {
            const std::size_t n = std::min(kChunkSize, container.size() - pos);
            out.insert(out.end(), container.begin() + static_cast<std::ptrdiff_t>(pos),
                       container.begin() + static_cast<std::ptrdiff_t>(pos + n));
            pos += n;
            continue;
        }
        while (pos < end) {
            const std::uint8_t flags = container[pos++];
            for (int bit = 0; bit < 8 && pos < end; ++bit) {
                if (!(flags & (1u << bit))) {
                    out.push_back(container[pos++]);
                } else {
                    if (end - pos < 2) damaged("a copy token is cut short", pos);
                    const auto token = static_cast<std::uint16_t>(container[pos] | container[pos + 1] << 8);
                    const std::size_t position = out.size() - chunkStart;
                    const unsigned bits = offsetBits(position);
                    const std::size_t length = (token & (0xFFFFu >> bits)) + kMinMatch;
                    const std::size_t offset = (std::size_t{token} >> (16 - bits)) + 1;
                    if (offset > position) damaged("a copy token points before its chunk", pos);
                    if (position + length > kChunkSize) damaged("a chunk holds more than 4096 bytes", pos);
                    for (std::size_t i = 0; i < length; ++i) out.push_back(out[out.size() - offset]);
                    pos += 2;
                }
            }
        }
        pos = end;
    }
    return out;
}

}  // namespace office::vba
