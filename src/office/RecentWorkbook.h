#pragma once
// The last workbook file read, kept decrypted for a moment. A command opens the
// base workbook once to read it and again to change it, each time from the
// disk because another user may have saved in between; when the file's bytes
// are the very bytes read before, the second open can skip the compound file
// and the decryption, which are a third of the cost of an open. The bytes are
// told apart by a 128-bit digest of the whole file, never by its name or date.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "office/biff/Biff8.h"
#include "office/cfb/CompoundFile.h"

namespace office {

struct RecentWorkbook {
    struct Digest {
        std::uint64_t low = 0, high = 0;
        std::size_t size = 0;
        bool operator==(const Digest&) const = default;
    };
    Digest digest;
    std::string password;            // the password the file was opened with
    biff::ClearWorkbookStream stream;
    cfb::Node otherStreams;          // the root storage without the workbook stream

    static Digest digestOf(std::span<const std::uint8_t> fileBytes);
};

// The workbook read from the file with `digest` and `password`, if it is the
// one kept; nullptr otherwise. Never changed while held.
std::shared_ptr<const RecentWorkbook> findRecentWorkbook(const RecentWorkbook::Digest& digest,
                                                         const std::string& password);
// Whether a workbook of these streams is small enough to keep: a large one
// would hold its memory for the rest of the process.
bool recentWorkbookFits(const biff::ClearWorkbookStream& stream, const cfb::Node& otherStreams);
// Keeps `read` in place of the one kept before (none when it does not fit).
void keepRecentWorkbook(std::shared_ptr<const RecentWorkbook> read);
// Lets go of the kept workbook (a save is about to need the memory).
void forgetRecentWorkbook();

}  // namespace office
