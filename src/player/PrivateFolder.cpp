#include "player/PrivateFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "automation/AutomationError.h"

namespace player {

PrivateFolder::PrivateFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tavolex-player-" + std::to_string(::getpid()) +
                          "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw automation::AutomationError(automation::errnum::kPathFileAccess,
                                          "\"" + pattern + "\" cannot be made: " + std::strerror(errno));
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace player
