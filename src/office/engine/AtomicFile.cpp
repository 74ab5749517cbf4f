#include "office/engine/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "automation/AutomationError.h"
#include "office/io/FreshMemory.h"

namespace office::engine {

using automation::AutomationError;
namespace errnum = automation::errnum;

namespace {

FileStamp stampFrom(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size,
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::string notFoundMessage(const std::string& path) {
    return "'" + path + "' could not be found. Check the spelling of the file name, and verify that the file "
           "location is correct.";
}

// Closes a descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    int take() {
        int f = fd;
        fd = -1;
        return f;
    }
};

std::string randomSuffix() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kChars[generator() % (sizeof kChars - 1)];
    return suffix;
}

// Temporary files of a save are named ".<name>.tavolex-save-XXXXXX"; a save
// killed half way leaves one behind.
std::string temporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".tavolex-save-";
}

bool isOurTemporary(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes what killed saves of this file left. The caller holds the file's
// writer lock, so no other save of it is under way; only regular files of
// exactly our temporary form go, never anything else.
void removeStaleTemporaries(const std::filesystem::path& folder, const std::filesystem::path& target) {
    const std::string prefix = temporaryPrefix(target);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (isOurTemporary(name, prefix) && entry.is_regular_file(error) && !entry.is_symlink(error))
            ::unlink(entry.path().c_str());
    }
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

FileContents readWholeFile(const std::string& path) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) throw AutomationError(errnum::kApplicationDefined, notFoundMessage(path), path);
        throw AutomationError(errnum::kApplicationDefined,
                              "'" + path + "' cannot be opened: " + std::strerror(errno) + ".", path);
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        throw AutomationError(errnum::kApplicationDefined, "'" + path + "' cannot be read: " + std::strerror(errno) + ".", path);
    if (S_ISDIR(st.st_mode))
        throw AutomationError(errnum::kApplicationDefined, "'" + path + "' is a folder, not a workbook file.", path);

    FileContents contents;
    contents.stamp = stampFrom(st);
    // The bytes (which the workbook reader keeps for the Workbook stream) and
    // about as much again for the strings and cells built first from them.
    const auto size = static_cast<std::size_t>(st.st_size);
    io::expectAllocations(2 * size);
    // Read through a small buffer and appended: a vector sized first is
    // zeroed only to be overwritten, and writing a store's fresh memory twice
    // costs about 2 ms more than once on a virtual machine.
    contents.bytes.reserve(size);
    std::uint8_t piece[64 * 1024];
    while (contents.bytes.size() < size) {
        const ssize_t n = ::read(file.fd, piece, std::min(sizeof piece, size - contents.bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            throw AutomationError(errnum::kApplicationDefined,
                                  "'" + path + "' cannot be read: " + std::strerror(errno) + ".", path);
        if (n == 0) break;  // shrank while reading
        contents.bytes.insert(contents.bytes.end(), piece, piece + n);
    }
    return contents;
}

std::optional<FileStamp> readInPieces(const std::string& path,
                                      const std::function<void(std::span<const std::uint8_t>)>& take) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::uint8_t piece[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(file.fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        take(std::span<const std::uint8_t>(piece, static_cast<std::size_t>(n)));
    }
    return stampFrom(st);
}

FileStamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return stampFrom(st);
}

void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> parts[] = {bytes};
    writeFileAtomically(path, parts);
}

void writeFileAtomically(const std::string& path, std::span<const std::span<const std::uint8_t>> parts) {
    writeFileAtomically(path, [parts](const BytesPut& put) {
        for (const auto& bytes : parts) put(bytes);
    });
}

void writeFileAtomically(const std::string& path, const std::function<void(const BytesPut& put)>& produce) {
    std::filesystem::path target(path);
    std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::string temporary;
    // Called right after the failing call, before anything can change errno.
    auto fail = [&](bool removeTemporary) -> AutomationError {
        const int error = errno;
        if (removeTemporary) ::unlink(temporary.c_str());
        return AutomationError(errnum::kApplicationDefined,
                               "Cannot save '" + path + "': " + std::strerror(error) + ".", path);
    };

    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        throw AutomationError(errnum::kApplicationDefined,
                              "Cannot save '" + path + "': it is a folder, and a workbook cannot replace it.", path);
    removeStaleTemporaries(folder, target);
    // O_EXCL with mode 0666 lets the umask decide a new file's permissions.
    Descriptor file;
    for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
        temporary = (folder / (temporaryPrefix(target) + randomSuffix())).string();
        file.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST) throw fail(false);
    }
    if (file.fd < 0) {
        errno = EEXIST;
        throw fail(false);
    }

    bool writeFailed = false;  // then the temporary file is gone already
    try {
        produce([&](std::span<const std::uint8_t> bytes) {
            if (writeAll(file.fd, bytes)) return;
            writeFailed = true;
            throw fail(true);
        });
    } catch (...) {
        if (!writeFailed) ::unlink(temporary.c_str());
        throw;
    }
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && ::fchmod(file.fd, old.st_mode & 07777) != 0) throw fail(true);
    if (::fsync(file.fd) != 0) throw fail(true);
    if (::close(file.take()) != 0) throw fail(true);
    if (::rename(temporary.c_str(), path.c_str()) != 0) throw fail(true);

    // Make the rename itself durable; a folder that cannot be synced is no error.
    Descriptor dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

}  // namespace office::engine
