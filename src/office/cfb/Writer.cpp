// Compound file writer: version 3 (512-byte sectors) or 4 (4096), 64-byte mini sectors.
//
// Layout: header, FAT sectors, DIFAT sectors, directory, mini FAT, mini
// stream, then the large streams. Siblings form a size-balanced binary search
// tree by the MS-CFB key; the nodes on the last, incomplete level are red and
// all others black, which keeps every red-black rule.
#include <algorithm>
#include <cstring>

#include "automation/AutomationError.h"
#include "office/cfb/CfbInternal.h"
#include "text/Utf.h"
#include "office/cfb/CompoundFile.h"

namespace office::cfb {
namespace {

using namespace detail;
using automation::AutomationError;

constexpr std::uint64_t kMaxFile = 0x7FFFFFFFull;       // we stay below 2 GB (v3 limit)

[[noreturn]] void fail(const std::string& what) {
    throw AutomationError(automation::errnum::kApplicationDefined,
                          "Cannot write the compound document: " + what);
}

void wr16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void wr32(std::uint8_t* p, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) p[k] = std::uint8_t(v >> (8 * k));
}

struct Entry {
    const Node* node = nullptr;
    std::u16string name;
    std::uint8_t type = 2;  // 1 storage, 2 stream, 5 root
    std::uint8_t color = 1; // 0 red, 1 black
    std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
};

class Writer {
public:
    explicit Writer(int version)
        : version_(version == 4 ? 4 : 3),
          kSector(version_ == 4 ? 4096 : 512),
          kPerFat(kSector / 4),
          kPerDifat(kPerFat - 1) {}

    CompoundFilePieces run(const Node& root, std::span<const Node* const> moreAtRoot = {}) {
        moreAtRoot_ = moreAtRoot;
        Entry r;
        r.node = &root;
        r.name = u"Root Entry";
        r.type = 5;
        entries_.push_back(r);
        flatten();
        return layout();
    }

private:
    std::vector<Entry> entries_;
    std::span<const Node* const> moreAtRoot_;
    const int version_;
    const std::uint32_t kSector;
    const std::uint32_t kPerFat;
    const std::uint32_t kPerDifat;

    static void checkName(const std::u16string& n, const std::string& utf8) {
        if (n.empty()) fail("an entry has an empty name");
        if (n.size() > 31) fail("the name \"" + utf8 + "\" is longer than 31 characters");
        for (char16_t c : n)
            if (c == 0 || c == u'/' || c == u'\\' || c == u':' || c == u'!')
                fail("the name \"" + utf8 + "\" contains a character not allowed (/ \\ : ! or NUL)");
    }

    // Builds a balanced tree over sorted ids[lo, hi); returns its root id.
    std::uint32_t balance(const std::vector<std::uint32_t>& ids, std::size_t lo, std::size_t hi,
                          std::size_t depth, std::size_t redDepth) {
        if (lo >= hi) return kNoStream;
        const std::size_t mid = lo + (hi - lo) / 2;
        Entry& e = entries_[ids[mid]];
        e.color = depth == redDepth ? 0 : 1;
        const std::uint32_t l = balance(ids, lo, mid, depth + 1, redDepth);
        const std::uint32_t r = balance(ids, mid + 1, hi, depth + 1, redDepth);
        entries_[ids[mid]].left = l;
        entries_[ids[mid]].right = r;
        return ids[mid];
    }

    void flatten() {
        struct Work { std::uint32_t entry; std::size_t depth; };
        std::vector<Work> work{{0, 0}};
        while (!work.empty()) {
            const Work w = work.back();
            work.pop_back();
            if (w.depth >= kMaxDepth) fail("storages are nested too deeply");
            const Node& node = *entries_[w.entry].node;
            std::vector<std::uint32_t> ids;
            ids.reserve(node.children.size());
            std::vector<const Node*> children;
            children.reserve(node.children.size() + moreAtRoot_.size());
            for (const Node& c : node.children) children.push_back(&c);
            if (w.entry == 0) children.insert(children.end(), moreAtRoot_.begin(), moreAtRoot_.end());
            for (const Node* child : children) {
                const Node& c = *child;
                Entry e;
                e.node = &c;
                e.name = text::utf8ToUtf16(c.name);
                checkName(e.name, c.name);
                e.type = c.isStorage ? 1 : 2;
                if (entries_.size() >= 0x00FFFFFF) fail("too many entries");
                ids.push_back(std::uint32_t(entries_.size()));
                entries_.push_back(std::move(e));
            }
            std::sort(ids.begin(), ids.end(), [this](std::uint32_t a, std::uint32_t b) {
                return compareUtf16(entries_[a].name, entries_[b].name) < 0;
            });
            for (std::size_t k = 1; k < ids.size(); ++k)
                if (compareUtf16(entries_[ids[k - 1]].name, entries_[ids[k]].name) == 0)
                    fail("two entries of one storage are both named \"" +
                         entries_[ids[k]].node->name + "\"");
            // Levels 0..h-1 of a size-balanced tree of n nodes are full, with
            // h = floor(log2(n + 1)); nodes on level h (if any) are red.
            std::size_t h = 0;
            while ((std::size_t(2) << h) - 1 <= ids.size()) ++h;
            entries_[w.entry].child = balance(ids, 0, ids.size(), 0, h);
            for (std::uint32_t id : ids)
                if (entries_[id].type == 1) work.push_back({id, w.depth + 1});
        }
    }

    CompoundFilePieces layout() {
        // Mini streams and their mini FAT.
        std::vector<std::uint32_t> miniFat;
        std::uint64_t miniBytes = 0;
        std::uint64_t bigSectors = 0;
        for (Entry& e : entries_) {
            if (e.type != 2) continue;
            const std::uint64_t size = e.node->data.size();
            e.size = size;
            if (size == 0) {
                e.start = kEndOfChain;
            } else if (size < kMiniCutoff) {
                const std::uint32_t n = std::uint32_t((size + 63) / 64);
                e.start = std::uint32_t(miniFat.size());
                for (std::uint32_t k = 0; k < n; ++k)
                    miniFat.push_back(k + 1 < n ? e.start + k + 1 : kEndOfChain);
                miniBytes += std::uint64_t(n) * 64;
            } else {
                bigSectors += (size + kSector - 1) / kSector;
            }
            if (bigSectors * kSector > kMaxFile) fail("the file would be larger than 2 GB");
        }
        const std::uint64_t dirSectors = (entries_.size() * 128 + kSector - 1) / kSector;
        const std::uint64_t miniFatSectors = (miniFat.size() * 4 + kSector - 1) / kSector;
        const std::uint64_t miniStreamSectors = (miniBytes + kSector - 1) / kSector;
        const std::uint64_t dataSectors = dirSectors + miniFatSectors + miniStreamSectors + bigSectors;
        std::uint64_t nFat = 1, nDifat = 0;
        for (;;) {
            const std::uint64_t total = dataSectors + nFat + nDifat;
            const std::uint64_t needFat = (total + kPerFat - 1) / kPerFat;
            const std::uint64_t needDifat = needFat > 109 ? (needFat - 109 + kPerDifat - 1) / kPerDifat : 0;
            if (needFat == nFat && needDifat == nDifat) break;
            nFat = std::max(nFat, needFat);
            nDifat = std::max(nDifat, needDifat);
        }
        const std::uint64_t total = dataSectors + nFat + nDifat;
        if ((total + 1) * kSector > kMaxFile) fail("the file would be larger than 2 GB");

        // The large streams come last, each where its node holds it: only the
        // sectors before them are built here.
        const std::uint64_t headSectors = 1 + nFat + nDifat + dirSectors + miniFatSectors + miniStreamSectors;
        CompoundFilePieces pieces;
        pieces.structures.assign(std::size_t(headSectors * kSector), 0);
        pieces.zeros.assign(kSector, 0);
        std::vector<std::uint8_t>& out = pieces.structures;
        std::vector<std::uint32_t> fat(std::size_t(nFat * kPerFat), kFreeSect);
        std::uint32_t next = 0;
        auto chain = [&](std::uint64_t count) -> std::uint32_t {
            if (count == 0) return kEndOfChain;
            const std::uint32_t first = next;
            for (std::uint64_t k = 0; k < count; ++k, ++next) fat[next] = k + 1 < count ? next + 1 : kEndOfChain;
            return first;
        };
        auto sectorPtr = [&](std::uint32_t s) { return out.data() + std::size_t(s + 1) * kSector; };

        const std::uint32_t fatStart = next;
        for (std::uint64_t k = 0; k < nFat; ++k) fat[next++] = kFatSect;
        const std::uint32_t difatStart = next;
        for (std::uint64_t k = 0; k < nDifat; ++k) fat[next++] = kDifSect;
        const std::uint32_t dirStart = chain(dirSectors);
        const std::uint32_t miniFatStart = chain(miniFatSectors);
        const std::uint32_t miniStreamStart = chain(miniStreamSectors);

        // Mini stream contents.
        if (miniBytes > 0) {
            std::uint8_t* ms = sectorPtr(miniStreamStart);
            for (const Entry& e : entries_)
                if (e.type == 2 && e.size > 0 && e.size < kMiniCutoff)
                    std::memcpy(ms + std::size_t(e.start) * 64, e.node->data.data(), e.size);
            entries_[0].start = miniStreamStart;
            entries_[0].size = miniBytes;
        } else {
            entries_[0].start = kEndOfChain;
            entries_[0].size = 0;
        }
        // Mini FAT (unused slots FREESECT).
        if (miniFatSectors > 0) {
            std::uint8_t* p = sectorPtr(miniFatStart);
            std::memset(p, 0xFF, std::size_t(miniFatSectors * kSector));
            for (std::size_t k = 0; k < miniFat.size(); ++k) wr32(p + 4 * k, miniFat[k]);
        }
        // Large streams.
        pieces.parts.emplace_back(pieces.structures);
        for (Entry& e : entries_) {
            if (e.type != 2 || e.size < kMiniCutoff) continue;
            e.start = chain((e.size + kSector - 1) / kSector);
            pieces.parts.emplace_back(e.node->data.data(), std::size_t(e.size));
            if (const std::size_t rest = std::size_t(e.size % kSector))
                pieces.parts.emplace_back(pieces.zeros.data(), kSector - rest);
        }
        // Directory.
        {
            std::uint8_t* d = sectorPtr(dirStart);
            const std::size_t slots = std::size_t(dirSectors * kSector / 128);
            for (std::size_t i = 0; i < slots; ++i) {
                std::uint8_t* p = d + 128 * i;
                wr32(p + 0x44, kNoStream);
                wr32(p + 0x48, kNoStream);
                wr32(p + 0x4C, kNoStream);
                if (i >= entries_.size()) continue;
                const Entry& e = entries_[i];
                for (std::size_t k = 0; k < e.name.size(); ++k) wr16(p + 2 * k, std::uint16_t(e.name[k]));
                wr16(p + 0x40, std::uint16_t((e.name.size() + 1) * 2));
                p[0x42] = e.type;
                p[0x43] = e.color;
                wr32(p + 0x44, e.left);
                wr32(p + 0x48, e.right);
                wr32(p + 0x4C, e.child);
                if (e.type != 2) std::memcpy(p + 0x50, e.node->clsid.data(), 16);
                if (e.type != 1) {
                    wr32(p + 0x74, e.start);
                    wr32(p + 0x78, std::uint32_t(e.size));
                    wr32(p + 0x7C, std::uint32_t(e.size >> 32));
                }
            }
        }
        // FAT sectors and DIFAT.
        for (std::uint64_t k = 0; k < nFat; ++k) {
            std::uint8_t* p = sectorPtr(fatStart + std::uint32_t(k));
            for (std::uint32_t j = 0; j < kPerFat; ++j) wr32(p + 4 * j, fat[k * kPerFat + j]);
        }
        std::uint8_t* h = out.data();
        static constexpr std::uint8_t sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
        std::memcpy(h, sig, 8);
        wr16(h + 0x18, 0x003E);
        wr16(h + 0x1A, std::uint16_t(version_));
        wr16(h + 0x1C, 0xFFFE);
        wr16(h + 0x1E, version_ == 4 ? 12 : 9);
        if (version_ == 4) wr32(h + 0x28, std::uint32_t(dirSectors));
        wr16(h + 0x20, 6);
        wr32(h + 0x2C, std::uint32_t(nFat));
        wr32(h + 0x30, dirStart);
        wr32(h + 0x38, kMiniCutoff);
        wr32(h + 0x3C, miniFatSectors ? miniFatStart : kEndOfChain);
        wr32(h + 0x40, std::uint32_t(miniFatSectors));
        wr32(h + 0x44, nDifat ? difatStart : kEndOfChain);
        wr32(h + 0x48, std::uint32_t(nDifat));
        for (std::uint32_t k = 0; k < 109; ++k)
            wr32(h + 0x4C + 4 * k, k < nFat ? fatStart + k : kFreeSect);
        for (std::uint64_t d = 0; d < nDifat; ++d) {
            std::uint8_t* p = sectorPtr(difatStart + std::uint32_t(d));
            for (std::uint32_t j = 0; j < kPerDifat; ++j) {
                const std::uint64_t fatIndex = 109 + d * kPerDifat + j;
                wr32(p + 4 * j, fatIndex < nFat ? fatStart + std::uint32_t(fatIndex) : kFreeSect);
            }
            wr32(p + 4 * kPerDifat, d + 1 < nDifat ? difatStart + std::uint32_t(d + 1) : kEndOfChain);
        }
        return pieces;
    }
};

}  // namespace

std::size_t CompoundFilePieces::size() const {
    std::size_t total = 0;
    for (const auto& part : parts) total += part.size();
    return total;
}

std::vector<std::uint8_t> CompoundFilePieces::joined() const {
    std::vector<std::uint8_t> out;
    out.reserve(size());
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<std::uint8_t> writeCompoundFile(const Node& root) {
    return Writer(3).run(root).joined();
}

std::vector<std::uint8_t> writeCompoundFile(const Node& root, std::span<const Node* const> moreAtRoot) {
    return Writer(3).run(root, moreAtRoot).joined();
}

CompoundFilePieces writeCompoundFilePieces(const Node& root, std::span<const Node* const> moreAtRoot) {
    return Writer(3).run(root, moreAtRoot);
}

std::vector<std::uint8_t> writeCompoundFile(const Node& root, int majorVersion) {
    if (majorVersion != 3 && majorVersion != 4)
        fail("only versions 3 and 4 exist");
    return Writer(majorVersion).run(root).joined();
}

}  // namespace office::cfb
