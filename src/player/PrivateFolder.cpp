#include "player/PrivateFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "automation/AutomationError.h"

namespace player {

namespace fs = std::filesystem;
using automation::AutomationError;

namespace {

[[noreturn]] void raiseWriteError(const std::string& path, int error) {
    throw AutomationError(automation::errnum::kPathFileAccess,
                          "\"" + path + "\" cannot be written: " + std::strerror(error));
}

const char* const kFolderPrefix = "tavolex-player-";

std::string temporaryRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// Folders of players that ended without removing theirs (a crash, a kill):
// ours, named with a process id that no longer runs.
void removeLeftovers(const std::string& root) {
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(kFolderPrefix, 0) != 0) continue;
        const std::string rest = name.substr(std::strlen(kFolderPrefix));
        const auto dash = rest.find('-');
        if (dash == std::string::npos || dash == 0 || rest.find_first_not_of("0123456789") != dash) continue;
        const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) continue;
        if (pid > 0 && pid == static_cast<long>(::getpid())) continue;
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0) continue;  // that player still runs
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

}  // namespace

PrivateFolder::PrivateFolder() {
    const std::string root = temporaryRoot();
    removeLeftovers(root);
    std::string pattern = root + "/" + kFolderPrefix + std::to_string(::getpid()) + "-XXXXXX";
    // mkdtemp makes the folder 0700: nobody else sees the documents.
    if (!::mkdtemp(pattern.data())) raiseWriteError(pattern, errno);
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string PrivateFolder::newSubfolder() {
    const std::string subfolder = path_ + "/" + std::to_string(++made_);
    if (::mkdir(subfolder.c_str(), 0700) != 0) raiseWriteError(subfolder, errno);
    return subfolder;
}

void PrivateFolder::writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) raiseWriteError(path, errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fd);
            raiseWriteError(path, error);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) raiseWriteError(path, errno);
}

}  // namespace player
