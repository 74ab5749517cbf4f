#pragma once
// Compound File Binary format (MS-CFB): reading and writing whole OLE2 files
// held in memory. Our own implementation (no libgsf).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace office::cfb {

using Clsid = std::array<std::uint8_t, 16>;

struct Node {
    std::string name;               // UTF-8; the root is "Root Entry"
    bool isStorage = false;
    Clsid clsid{};                  // storages (and root)
    std::vector<std::uint8_t> data; // streams
    std::vector<Node> children;     // storages, in the order read / added

    // Direct child by name, ignoring case (MS-CFB comparison); nullptr if none.
    Node* child(std::string_view name);
    const Node* child(std::string_view name) const;
    // Adds a stream; replaces a same-named child (of any kind) in place.
    Node& addStream(std::string name, std::vector<std::uint8_t> data);
    // Adds a storage; an existing same-named storage is returned (its CLSID
    // set when `clsid` is not all zero), a same-named stream is replaced.
    Node& addStorage(std::string name, Clsid clsid = {});
    // Descendant by a '/'-separated path, ignoring case: "_VBA_PROJECT_CUR/VBA/dir".
    // An empty path is this node. nullptr if any part is missing.
    const Node* find(std::string_view path) const;
    Node* find(std::string_view path);

    bool operator==(const Node&) const = default;
};

// Parses a whole compound file (version 3 or 4). Throws automation::AutomationError
// (number 1004, offset set where known) for anything that is not a valid compound
// file: bad signature, truncated, sector chains that loop, are shared or point
// outside the file, directory trees with cycles, sizes beyond the file, empty or
// duplicate names in one storage, storages nested more than 256 deep.
// Children come back sorted by the MS key (compareNames), whatever the file's
// tree order, so anything read can be written and reads back identically.
Node readCompoundFile(std::span<const std::uint8_t> bytes);
// The same over bytes the caller gives up: the stream of the root storage
// named `inPlace` (if any) gets them as its data, its sectors moved into place
// instead of copied into a new buffer of the stream's size.
Node readCompoundFile(std::vector<std::uint8_t>&& bytes, std::string_view inPlace);

// Writes version 3 (512-byte sectors), with a mini stream for streams < 4096 bytes,
// FAT, DIFAT beyond 109 FAT sectors, a balanced red-black directory tree (last
// incomplete level red, the rest black) ordered by the MS key (length first, then
// upper-cased UTF-16), CLSIDs on storages and root.
// Throws AutomationError for names longer than 31 UTF-16 units or containing
// '/', '\\', ':', '!', or for duplicate names within one storage.
std::vector<std::uint8_t> writeCompoundFile(const Node& root);
// The same with `moreAtRoot` as further children of the root, which saves
// copying a large tree to add one stream to it.
std::vector<std::uint8_t> writeCompoundFile(const Node& root, std::span<const Node* const> moreAtRoot);
// A compound file as consecutive pieces: its own structures first, then the
// large streams' bytes where the nodes hold them (the pieces are valid while
// the nodes live), each followed by the zeros that fill its last sector.
// Saves copying multi-megabyte streams into one buffer before a write.
struct CompoundFilePieces {
    CompoundFilePieces() = default;
    CompoundFilePieces(CompoundFilePieces&&) = default;  // the parts move along with their buffers
    CompoundFilePieces& operator=(CompoundFilePieces&&) = default;
    CompoundFilePieces(const CompoundFilePieces&) = delete;
    CompoundFilePieces& operator=(const CompoundFilePieces&) = delete;

    std::vector<std::uint8_t> structures;  // header, FAT, DIFAT, directory, mini FAT, mini stream
    std::vector<std::uint8_t> zeros;       // one sector of zeros, for the padding
    std::vector<std::span<const std::uint8_t>> parts;  // in file order
    std::size_t size() const;
    std::vector<std::uint8_t> joined() const;
};
// writeCompoundFile(root, moreAtRoot) in pieces.
CompoundFilePieces writeCompoundFilePieces(const Node& root, std::span<const Node* const> moreAtRoot = {});
// The same in version 3 or 4 (4096-byte sectors, header padded to 4096 bytes).
std::vector<std::uint8_t> writeCompoundFile(const Node& root, int majorVersion);

// MS-CFB sibling order: < 0 when a sorts before b (shorter first, then
// upper-cased UTF-16 code units), 0 when equal ignoring case.
int compareNames(std::string_view a, std::string_view b);

// True when `bytes` starts with the compound file signature D0 CF 11 E0 A1 B1 1A E1.
bool hasCompoundSignature(std::span<const std::uint8_t> bytes);

// Parses a CLSID in registry form "{0003000C-0000-0000-C000-000000000046}" (braces
// optional) into its on-disk bytes (first three groups little-endian); throws
// AutomationError on malformed text. clsidToString is the inverse (upper case, braces).
Clsid clsidFromString(std::string_view text);
std::string clsidToString(const Clsid& clsid);

}  // namespace office::cfb
