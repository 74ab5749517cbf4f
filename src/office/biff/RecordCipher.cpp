#include "office/biff/RecordCipher.h"

#include <algorithm>
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

std::vector<std::uint8_t> applyRecordCipher(std::span<const std::uint8_t> source, std::size_t start,
                                            crypto::BlockCipher& cipher) {
    // One pass of the cipher over everything from `start` is much faster than a
    // call per record; the bytes that stay clear are then copied back from `source`.
    std::vector<std::uint8_t> out(source.begin(), source.end());
    if (start >= out.size()) return out;
    cipher.process(out.data() + start, out.size() - start, start);
    auto restore = [&](std::size_t offset, std::size_t length) {
        length = std::min(length, source.size() - offset);
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), length,
                    out.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    std::size_t pos = start;
    while (pos < source.size() && source.size() - pos >= 4) {
        const std::uint16_t id = static_cast<std::uint16_t>(source[pos] | (source[pos + 1] << 8));
        const std::size_t size = static_cast<std::size_t>(source[pos + 2] | (source[pos + 3] << 8));
        std::size_t clear = 4;  // the header
        if (staysClear(id)) clear += size;
        else if (id == rec::kBoundSheet) clear += 4;  // lbPlyPos
        restore(pos, clear);
        pos += 4 + size;
    }
    if (pos < source.size()) restore(pos, source.size() - pos);  // too short for a header
    return out;
}

}  // namespace office::biff
