#include "office/biff/RecordCipher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "office/biff/BiffRecords.h"

namespace office::biff {
namespace {

bool staysClear(std::uint16_t id) {
    switch (id) {
    case rec::kBof:
    case rec::kFilePass:
    case rec::kUsrExcl:
    case rec::kFileLock:
    case rec::kInterfaceHdr:
    case rec::kRrdInfo:
    case rec::kRrdHead:
        return true;
    default:
        return false;
    }
}

}  // namespace

// The keystream two 1024-byte blocks at a time (the cipher re-keys at every
// block anyway, and makes two blocks' keystreams side by side faster than
// one after the other), so that the many small bodies between the clear
// headers are XORed from a buffer instead of a cipher call each.
class RecordEncrypter::Keystream {
public:
    explicit Keystream(crypto::BlockCipher& cipher) : cipher_(cipher) {}

    void apply(std::uint8_t* data, std::size_t n, std::uint64_t offset) {
        while (n > 0) {
            const std::uint64_t part = offset / kPart;
            if (part != part_) fill(part);
            const std::size_t at = static_cast<std::size_t>(offset % kPart);
            const std::size_t take = std::min(n, kPart - at);
            xorInto(data, keys_ + at, take);
            data += take;
            n -= take;
            offset += take;
        }
    }

private:
    static constexpr std::size_t kBlocks = 2;
    static constexpr std::size_t kPart = kBlocks * crypto::kCipherBlock;
    // Eight bytes at a time: a store's stream is megabytes of short bodies.
    static void xorInto(std::uint8_t* data, const std::uint8_t* key, std::size_t n) {
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t d, k;
            std::memcpy(&d, data + i, 8);
            std::memcpy(&k, key + i, 8);
            d ^= k;
            std::memcpy(data + i, &d, 8);
        }
        for (; i < n; ++i) data[i] ^= key[i];
    }
    void fill(std::uint64_t part) {
        cipher_.keystream(part * kBlocks, kBlocks, keys_);
        part_ = part;
    }

    crypto::BlockCipher& cipher_;
    std::uint64_t part_ = ~std::uint64_t{0};
    std::uint8_t keys_[kPart];
};

namespace {

// The record at `pos` of `stream`: its end, and where its encrypted part starts.
struct RecordExtent {
    std::size_t encryptedFrom, end;
};
RecordExtent extentAt(std::span<const std::uint8_t> stream, std::size_t pos) {
    const std::uint16_t id = static_cast<std::uint16_t>(stream[pos] | (stream[pos + 1] << 8));
    const std::size_t size = static_cast<std::size_t>(stream[pos + 2] | (stream[pos + 3] << 8));
    std::size_t clear = 4;  // the header
    if (staysClear(id)) clear += size;
    else if (id == rec::kBoundSheet) clear += 4;  // lbPlyPos
    return {pos + clear, pos + 4 + size};
}

}  // namespace

void applyRecordCipherInPlace(std::span<std::uint8_t> stream, std::size_t start, crypto::BlockCipher& cipher) {
    RecordEncrypter::Keystream keys(cipher);
    std::size_t pos = start;
    // A tail too short for a header stays as it is.
    while (pos < stream.size() && stream.size() - pos >= 4) {
        const RecordExtent record = extentAt(stream, pos);
        const std::size_t from = std::min(record.encryptedFrom, stream.size());
        const std::size_t to = std::min(record.end, stream.size());
        if (from < to) keys.apply(stream.data() + from, to - from, from);
        pos = record.end;
    }
}

RecordEncrypter::RecordEncrypter(std::span<const std::uint8_t> clear, std::size_t start, crypto::BlockCipher& cipher)
    : clear_(clear), record_(start), keys_(std::make_unique<Keystream>(cipher)) {}

RecordEncrypter::~RecordEncrypter() = default;

void RecordEncrypter::apply(std::span<std::uint8_t> piece, std::size_t offset) {
    const std::size_t end = offset + piece.size();
    std::size_t pos = record_;
    while (pos < end && pos < clear_.size() && clear_.size() - pos >= 4) {
        const RecordExtent record = extentAt(clear_, pos);
        const std::size_t from = std::max(std::min(record.encryptedFrom, clear_.size()), offset);
        const std::size_t to = std::min({record.end, clear_.size(), end});
        if (from < to) keys_->apply(piece.data() + (from - offset), to - from, from);
        if (record.end > end) break;  // it goes on in the next piece
        pos = record.end;
    }
    record_ = pos;
}

std::vector<std::uint8_t> applyRecordCipher(std::span<const std::uint8_t> source, std::size_t start,
                                            crypto::BlockCipher& cipher) {
    std::vector<std::uint8_t> out(source.begin(), source.end());
    applyRecordCipherInPlace(out, start, cipher);
    return out;
}

}  // namespace office::biff
