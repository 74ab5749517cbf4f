#include "office/ole/DocumentSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "automation/AutomationError.h"

namespace office::ole {

namespace errnum = automation::errnum;
using automation::AutomationError;

const OpenErrors kWordErrors{"Word", "a Word 97-2003 document", errnum::kWordFileNotFound, errnum::kWordFileCorrupt,
                             errnum::kWordWrongPassword};
const OpenErrors kPowerPointErrors{"PowerPoint", "a PowerPoint 97-2003 presentation", errnum::kObjectFileNotFound,
                                   errnum::kPowerPointCannotOpen, errnum::kPowerPointCannotOpen};

namespace {

// Larger files are no documents a user probes; refusing them keeps a
// mistaken choice (a disk image) from filling the memory.
constexpr std::int64_t kMaxFileSize = std::int64_t{1} << 30;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void throwForErrno(int err, const std::string& path, const OpenErrors& errors) {
    if (err == ENOENT || err == ENOTDIR)
        throw AutomationError(errors.notFound, "This file could not be found.", path);
    if (err == EACCES || err == EPERM)
        throw AutomationError(errnum::kPermissionDenied,
                              std::string(errors.application) + " cannot open the file: permission denied.", path);
    throw AutomationError(errors.cannotOpen,
                          std::string(errors.application) + " cannot open the file: it could not be read (" +
                              std::to_string(err) + ").",
                          path);
}

}  // namespace

void throwCannotOpen(const OpenErrors& errors, const std::string& why) {
    throw AutomationError(errors.cannotOpen, std::string(errors.application) + " cannot open the file: " + why + ".");
}

void throwNeedsPassword(const OpenErrors& errors) {
    throw AutomationError(errors.password, std::string(errors.application) +
                                               " cannot open the file: it is protected by a password, and Tavolex "
                                               "does not open documents that need one.");
}

std::vector<std::uint8_t> readSourceFile(const std::string& path, const OpenErrors& errors) {
    // Read-only, and non-blocking so that a named pipe cannot hang the probe.
    Descriptor fd(path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) throwForErrno(path.empty() ? ENOENT : errno, path, errors);
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) throwForErrno(errno, path, errors);
    const auto refuse = [&](const std::string& why) {
        try {
            throwCannotOpen(errors, why);
        } catch (const AutomationError& error) {
            throw AutomationError(error.number(), error.description(), path);
        }
    };
    if (!S_ISREG(info.st_mode)) refuse("it is not a file");
    if (info.st_size > kMaxFileSize) refuse("it is too large to be " + std::string(errors.documentKind));

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throwForErrno(errno, path, errors);
        if (n == 0) break;  // the file shrank while we read it
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

cfb::Node readDocumentCompound(std::span<const std::uint8_t> bytes, const OpenErrors& errors) {
    if (!cfb::hasCompoundSignature(bytes)) throwCannotOpen(errors, std::string("it is not ") + errors.documentKind);
    cfb::Node root;
    try {
        root = cfb::readCompoundFile(bytes);
    } catch (const AutomationError& error) {
        // "The file is not a valid compound document: <what>" becomes "damaged (<what>)".
        const std::string& text = error.description();
        const std::size_t colon = text.find(": ");
        throwCannotOpen(errors, "it is damaged (" + (colon == std::string::npos ? text : text.substr(colon + 2)) + ")");
    }
    // A newer document saved with a password is a compound file holding the
    // encrypted package.
    if (root.child("EncryptedPackage") && root.child("EncryptionInfo")) throwNeedsPassword(errors);
    return root;
}

}  // namespace office::ole
