// Compound file reader (MS-CFB versions 3 and 4).
//
// Robustness rules: every sector id is range-checked, every sector may belong
// to at most one chain (so chains cannot loop and the total size of what we
// allocate is bounded by the file size), stream sizes are checked against the
// file before allocating, and the directory tree is walked iteratively with a
// visited mark per entry.
#include <algorithm>
#include <cstring>
#include <utility>

#include "automation/AutomationError.h"
#include "office/cfb/CfbInternal.h"
#include "text/Utf.h"
#include "office/cfb/CompoundFile.h"

namespace office::cfb {
namespace {

using namespace detail;
using automation::AutomationError;

[[noreturn]] void fail(const std::string& what, std::int64_t offset = -1) {
    throw AutomationError(automation::errnum::kApplicationDefined,
                          "The file is not a valid compound document: " + what, {}, offset);
}

std::uint16_t rd16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t rd32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint64_t rd64(const std::uint8_t* p) { return rd32(p) | std::uint64_t(rd32(p + 4)) << 32; }

struct DirEntry {
    std::string name;
    std::u16string name16;
    std::uint8_t type = 0;
    std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
    Clsid clsid{};
    std::uint32_t start = 0;
    std::uint64_t size = 0;
};

class Reader {
public:
    // `inPlace`: a stream of the root storage left out of the copying, its
    // sectors only checked and listed, for takeInPlace; empty for none.
    explicit Reader(std::span<const std::uint8_t> bytes, std::string_view inPlace = {})
        : bytes_(bytes), inPlace_(inPlace) {}

    // The stream left out: its node and sectors (no node when there was none).
    struct LeftOut {
        Node* node = nullptr;
        std::vector<std::uint32_t> sectors;
        std::uint64_t size = 0;
    };
    LeftOut& leftOut() { return leftOut_; }
    std::uint64_t sectorOffset(std::uint32_t s) const { return std::uint64_t(s + 1) << shift_; }
    std::uint32_t sectorSize() const { return sectorSize_; }

    Node run() {
        readHeader();
        readFat();
        readDirectory();
        readMiniStream();
        return buildTree();
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t shift_ = 9;
    std::uint32_t version_ = 3;
    std::uint32_t nSectors_ = 0;  // sectors present in the file (last may be partial)
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint8_t> claimed_;      // per sector: already part of a chain
    std::vector<std::uint32_t> miniFat_;
    std::vector<std::uint8_t> miniClaimed_;
    std::vector<std::uint8_t> miniStream_;
    std::vector<DirEntry> dir_;
    std::uint32_t firstDir_ = 0, firstMiniFat_ = 0, nMiniFat_ = 0;
    std::string_view inPlace_;
    LeftOut leftOut_;

    // Copies the first n bytes of sector s; the file may end right after
    // them (a partial last sector), but not before.
    void copySector(std::uint32_t s, std::uint8_t* out, std::size_t n) const {
        const std::uint64_t off = sectorOffset(s);
        if (off > bytes_.size() || bytes_.size() - off < n)
            fail("the file is truncated (sector " + std::to_string(s) + ")", std::int64_t(off));
        std::memcpy(out, bytes_.data() + off, n);
    }

    void checkSector(std::uint32_t s, const char* what) const {
        if (s >= nSectors_)
            fail(std::string(what) + " refers to sector " + std::to_string(s) +
                 " outside the file");
    }

    void readHeader() {
        if (bytes_.size() < 512) fail("the file is shorter than a compound file header", 0);
        if (!hasCompoundSignature(bytes_)) fail("bad signature", 0);
        const std::uint8_t* h = bytes_.data();
        version_ = rd16(h + 0x1A);
        if (rd16(h + 0x1C) != 0xFFFE) fail("bad byte order mark", 0x1C);
        shift_ = rd16(h + 0x1E);
        if (version_ == 3 && shift_ != 9) fail("version 3 needs 512-byte sectors", 0x1E);
        if (version_ == 4 && shift_ != 12) fail("version 4 needs 4096-byte sectors", 0x1E);
        if (version_ != 3 && version_ != 4) fail("unknown major version", 0x1A);
        if (rd16(h + 0x20) != 6) fail("mini sector size is not 64 bytes", 0x20);
        sectorSize_ = 1u << shift_;
        if (bytes_.size() < sectorSize_) fail("the file is shorter than its header sector", 0);
        const std::uint64_t body = bytes_.size() - sectorSize_;
        const std::uint64_t n = (body + sectorSize_ - 1) / sectorSize_;
        nSectors_ = std::uint32_t(std::min<std::uint64_t>(n, kMaxRegSect));
        claimed_.assign(nSectors_, 0);
        firstDir_ = rd32(h + 0x30);
        firstMiniFat_ = rd32(h + 0x3C);
        nMiniFat_ = rd32(h + 0x40);
    }

    void readFat() {
        const std::uint8_t* h = bytes_.data();
        const std::uint32_t nFat = rd32(h + 0x2C);
        if (nFat == 0) fail("no FAT sectors", 0x2C);
        if (nFat > nSectors_) fail("FAT sector count beyond the file size", 0x2C);
        std::vector<std::uint32_t> fatSectors;
        fatSectors.reserve(nFat);
        for (std::uint32_t k = 0; k < 109 && fatSectors.size() < nFat; ++k)
            fatSectors.push_back(rd32(h + 0x4C + 4 * k));
        std::uint32_t difat = rd32(h + 0x44);
        const std::uint32_t perDifat = sectorSize_ / 4 - 1;
        std::vector<std::uint8_t> buf(sectorSize_);
        std::vector<std::uint8_t> seenDifat;
        while (fatSectors.size() < nFat) {
            if (difat == kEndOfChain || difat == kFreeSect) fail("DIFAT chain ends too early", 0x44);
            checkSector(difat, "the DIFAT");
            if (seenDifat.empty()) seenDifat.assign(nSectors_, 0);
            if (seenDifat[difat]) fail("the DIFAT chain loops", std::int64_t(sectorOffset(difat)));
            seenDifat[difat] = 1;
            copySector(difat, buf.data(), sectorSize_);
            for (std::uint32_t k = 0; k < perDifat && fatSectors.size() < nFat; ++k)
                fatSectors.push_back(rd32(buf.data() + 4 * k));
            difat = rd32(buf.data() + 4 * perDifat);
        }
        // The FAT only needs entries for the sectors the file has.
        const std::size_t perSector = sectorSize_ / 4;
        fat_.assign(std::min<std::size_t>(std::size_t(nFat) * perSector, nSectors_), kFreeSect);
        std::vector<std::uint8_t> seenFat(nSectors_, 0);
        for (std::size_t i = 0; i < fatSectors.size(); ++i) {
            const std::uint32_t s = fatSectors[i];
            if (i * perSector >= fat_.size()) break;
            checkSector(s, "the FAT sector list");
            if (seenFat[s]) fail("a FAT sector is listed twice", std::int64_t(sectorOffset(s)));
            seenFat[s] = 1;
            copySector(s, buf.data(), sectorSize_);
            const std::size_t count = std::min(perSector, fat_.size() - i * perSector);
            for (std::size_t k = 0; k < count; ++k) fat_[i * perSector + k] = rd32(buf.data() + 4 * k);
        }
    }

    std::uint32_t next(std::uint32_t s) const { return s < fat_.size() ? fat_[s] : kFreeSect; }

    // Reads a chain. maxBytes: the number of bytes wanted (the chain must cover
    // it); npos = read until ENDOFCHAIN.
    std::vector<std::uint8_t> readChain(std::uint32_t start, std::uint64_t wanted, bool toEnd,
                                        const char* what) {
        std::vector<std::uint8_t> out;
        if (!toEnd) {
            if (wanted == 0) return out;
            if (wanted > std::uint64_t(nSectors_) * sectorSize_)
                fail(std::string(what) + " is larger than the file");
            out.resize(std::size_t(wanted));
        }
        std::uint64_t done = 0;
        std::uint32_t s = start;
        while (toEnd || done < wanted) {
            if (s == kEndOfChain) {
                if (toEnd) break;
                fail(std::string(what) + " ends before its size");
            }
            checkSector(s, what);
            if (claimed_[s])
                fail(std::string(what) + ": sector chain loops or is shared",
                     std::int64_t(sectorOffset(s)));
            claimed_[s] = 1;
            std::size_t take = sectorSize_;
            if (toEnd) {
                out.resize(out.size() + sectorSize_);
            } else {
                take = std::size_t(std::min<std::uint64_t>(sectorSize_, wanted - done));
            }
            copySector(s, out.data() + done, take);
            done += take;
            s = next(s);
        }
        return out;
    }

    // The sectors of a chain of `wanted` bytes, checked as readChain checks
    // them, without copying anything.
    std::vector<std::uint32_t> claimChain(std::uint32_t start, std::uint64_t wanted, const char* what) {
        if (wanted > std::uint64_t(nSectors_) * sectorSize_) fail(std::string(what) + " is larger than the file");
        std::vector<std::uint32_t> sectors;
        sectors.reserve(std::size_t((wanted + sectorSize_ - 1) / sectorSize_));
        std::uint64_t done = 0;
        for (std::uint32_t s = start; done < wanted; s = next(s)) {
            if (s == kEndOfChain) fail(std::string(what) + " ends before its size");
            checkSector(s, what);
            if (claimed_[s]) fail(std::string(what) + ": sector chain loops or is shared", std::int64_t(sectorOffset(s)));
            claimed_[s] = 1;
            const std::uint64_t take = std::min<std::uint64_t>(sectorSize_, wanted - done);
            const std::uint64_t off = sectorOffset(s);
            if (off > bytes_.size() || bytes_.size() - off < take)
                fail("the file is truncated (sector " + std::to_string(s) + ")", std::int64_t(off));
            sectors.push_back(s);
            done += take;
        }
        return sectors;
    }

    void readDirectory() {
        auto raw = readChain(firstDir_, 0, true, "the directory");
        const std::size_t n = raw.size() / 128;
        if (n == 0) fail("empty directory");
        dir_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* e = raw.data() + 128 * i;
            DirEntry& d = dir_[i];
            d.type = e[0x42];
            if (d.type == 0) continue;
            std::uint16_t nameLen = rd16(e + 0x40);
            std::size_t units = std::min<std::size_t>(nameLen / 2, 32);
            std::u16string name;
            for (std::size_t k = 0; k < units; ++k) {
                char16_t c = char16_t(rd16(e + 2 * k));
                if (c == 0) break;
                name.push_back(c);
            }
            if (name.size() > 31) name.resize(31);
            d.name = text::utf16ToUtf8(name);
            d.name16 = text::utf8ToUtf16(d.name);  // lone surrogates became U+FFFD, as the writer will see
            d.left = rd32(e + 0x44);
            d.right = rd32(e + 0x48);
            d.child = rd32(e + 0x4C);
            std::memcpy(d.clsid.data(), e + 0x50, 16);
            d.start = rd32(e + 0x74);
            d.size = version_ == 3 ? rd32(e + 0x78) : rd64(e + 0x78);
        }
        if (dir_[0].type != 5) fail("the first directory entry is not the root");
    }

    void readMiniStream() {
        const DirEntry& root = dir_[0];
        std::uint64_t size = root.size;
        if (size == 0 || root.start == kEndOfChain) return;
        if (size > std::uint64_t(nSectors_) * sectorSize_) fail("the mini stream is larger than the file");
        // Be lenient with a root size that overstates the chain: read what the chain holds.
        std::uint64_t chainBytes = 0;
        {
            std::uint32_t s = root.start;
            std::uint64_t steps = 0;
            while (s != kEndOfChain && chainBytes < size && steps <= nSectors_) {
                checkSector(s, "the mini stream");
                chainBytes += sectorSize_;
                s = next(s);
                ++steps;
            }
        }
        miniStream_ = readChain(root.start, std::min(size, chainBytes), false, "the mini stream");
        const std::uint64_t miniSectors = miniStream_.size() / 64 + (miniStream_.size() % 64 ? 1 : 0);
        if (nMiniFat_ > 0 && firstMiniFat_ != kEndOfChain) {
            if (nMiniFat_ > nSectors_) fail("mini FAT sector count beyond the file size", 0x40);
            auto raw = readChain(firstMiniFat_, 0, true, "the mini FAT");
            const std::size_t entries = std::min<std::uint64_t>(raw.size() / 4, miniSectors);
            miniFat_.resize(entries);
            for (std::size_t k = 0; k < entries; ++k) miniFat_[k] = rd32(raw.data() + 4 * k);
        }
        miniClaimed_.assign(std::size_t(miniSectors), 0);
    }

    std::vector<std::uint8_t> readMiniChain(std::uint32_t start, std::uint64_t size) {
        std::vector<std::uint8_t> out(static_cast<std::size_t>(size));
        std::uint64_t done = 0;
        std::uint32_t s = start;
        while (done < size) {
            if (s >= miniClaimed_.size()) fail("a mini sector chain points outside the mini stream");
            if (miniClaimed_[s]) fail("a mini sector chain loops or is shared");
            miniClaimed_[s] = 1;
            const std::size_t off = std::size_t(s) * 64;
            const std::size_t take = std::size_t(std::min<std::uint64_t>(64, size - done));
            const std::size_t avail = off < miniStream_.size() ? std::min(take, miniStream_.size() - off) : 0;
            if (avail < take) fail("a mini sector lies beyond the end of the mini stream");
            std::memcpy(out.data() + done, miniStream_.data() + off, take);
            done += take;
            s = s < miniFat_.size() ? miniFat_[s] : kFreeSect;
        }
        return out;
    }

    // In-order list of the entries of the sibling tree rooted at `top`.
    std::vector<std::uint32_t> siblings(std::uint32_t top, std::vector<std::uint8_t>& visited) {
        std::vector<std::uint32_t> out, stack;
        std::uint32_t cur = top;
        while (cur != kNoStream || !stack.empty()) {
            while (cur != kNoStream) {
                if (cur >= dir_.size()) fail("a directory entry refers to a missing entry");
                if (visited[cur]) fail("the directory tree has a cycle");
                visited[cur] = 1;
                const DirEntry& d = dir_[cur];
                if (d.type != 1 && d.type != 2) fail("a directory entry has an invalid type");
                stack.push_back(cur);
                cur = d.left;
            }
            cur = stack.back();
            stack.pop_back();
            out.push_back(cur);
            cur = dir_[cur].right;
        }
        return out;
    }

    static void checkName(const std::string& name) {
        if (name.empty()) fail("a directory entry has an empty name");
        if (name.find_first_of("/\\:!") != std::string::npos)
            fail("a directory entry name contains / \\ : or !");
    }

    Node buildTree() {
        std::vector<std::uint8_t> visited(dir_.size(), 0);
        visited[0] = 1;
        Node root;
        root.name = "Root Entry";
        root.isStorage = true;
        root.clsid = dir_[0].clsid;
        struct Work { Node* node; std::uint32_t entry; std::size_t depth; };
        std::vector<Work> work{{&root, 0, 0}};
        // Nodes are filled breadth-first; children vectors are sized before
        // pointers into them are taken, so the pointers stay valid.
        while (!work.empty()) {
            Work w = work.back();
            work.pop_back();
            if (w.depth >= kMaxDepth) fail("storages are nested too deeply");
            auto ids = siblings(dir_[w.entry].child, visited);
            // Canonical order (a no-op for a well-formed file) and unique names.
            std::stable_sort(ids.begin(), ids.end(), [this](std::uint32_t a, std::uint32_t b) {
                return compareUtf16(dir_[a].name16, dir_[b].name16) < 0;
            });
            for (std::size_t k = 1; k < ids.size(); ++k)
                if (compareUtf16(dir_[ids[k - 1]].name16, dir_[ids[k]].name16) == 0)
                    fail("two entries of one storage have the same name: " + dir_[ids[k]].name);
            w.node->children.resize(ids.size());
            for (std::size_t k = 0; k < ids.size(); ++k) {
                const DirEntry& d = dir_[ids[k]];
                Node& c = w.node->children[k];
                c.name = d.name;
                checkName(c.name);
                if (d.type == 1) {
                    c.isStorage = true;
                    c.clsid = d.clsid;
                    work.push_back({&c, ids[k], w.depth + 1});
                } else if (d.size > 0) {
                    if (d.size < kMiniCutoff) c.data = readMiniChain(d.start, d.size);
                    else if (w.entry == 0 && !inPlace_.empty() && !leftOut_.node && compareNames(d.name, inPlace_) == 0)
                        leftOut_ = {&c, claimChain(d.start, d.size, ("stream " + d.name).c_str()), d.size};
                    else c.data = readChain(d.start, d.size, false, ("stream " + d.name).c_str());
                }
            }
        }
        return root;
    }
};

}  // namespace

Node readCompoundFile(std::span<const std::uint8_t> bytes) {
    return Reader(bytes).run();
}

Node readCompoundFile(std::vector<std::uint8_t>&& bytes, std::string_view inPlace) {
    Reader reader(bytes, inPlace);
    Node root = reader.run();
    Reader::LeftOut& out = reader.leftOut();
    if (!out.node) return root;
    // Everything else is copied out by now, so the file's bytes may be
    // overwritten: sector k of the stream moves to offset k * sectorSize.
    // That overwrites no sector still to be moved as long as no sector lies
    // before its destination, which holds for the usual contiguous stream.
    const std::size_t sectorSize = reader.sectorSize();
    bool forward = true;
    for (std::size_t k = 0; k < out.sectors.size() && forward; ++k)
        forward = reader.sectorOffset(out.sectors[k]) >= k * sectorSize;
    const std::size_t size = std::size_t(out.size);
    if (forward) {
        for (std::size_t k = 0; k < out.sectors.size(); ++k) {
            const std::size_t take = std::min(sectorSize, size - k * sectorSize);
            std::memmove(bytes.data() + k * sectorSize, bytes.data() + reader.sectorOffset(out.sectors[k]), take);
        }
        bytes.resize(size);
        out.node->data = std::move(bytes);
    } else {
        out.node->data.resize(size);
        for (std::size_t k = 0; k < out.sectors.size(); ++k) {
            const std::size_t take = std::min(sectorSize, size - k * sectorSize);
            std::memcpy(out.node->data.data() + k * sectorSize, bytes.data() + reader.sectorOffset(out.sectors[k]), take);
        }
    }
    return root;
}

}  // namespace office::cfb
