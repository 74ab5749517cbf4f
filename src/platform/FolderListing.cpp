#include "platform/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/ErrnoError.h"
#include "text/CaseFold.h"
#include "text/Collation.h"

namespace platform {

namespace {

using automation::DriveInfo;

// File systems that hold no user's files.
const std::set<std::string> kPseudoTypes = {
    "proc",   "sysfs",   "devtmpfs",  "devpts",      "tmpfs",    "cgroup",  "cgroup2", "securityfs",
    "pstore", "bpf",     "debugfs",   "tracefs",     "configfs", "fusectl", "mqueue",  "hugetlbfs",
    "autofs", "binfmt_misc", "rpc_pipefs", "nsfs", "efivarfs", "squashfs", "ramfs",  "selinuxfs"};

const char* const kMediaFolders[] = {"/media/", "/run/media/", "/mnt/"};

// The mount table writes space, tab, newline and backslash as \040-style
// octal escapes.
std::string unescapeMountPath(const std::string& text) {
    const auto octal = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out.push_back(static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string lastComponent(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::string withoutFinalSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

template <typename Keep>
std::vector<std::string> namesIn(const std::string& folder, Keep keep) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) throw ErrorFromErrno(errno, PathKind::Folder, folder);
    std::vector<std::pair<std::string, std::string>> found;  // sort key, name
    int readError = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) {
            readError = errno;
            break;
        }
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;  // ".", ".." and hidden entries
        const std::string path = (folder.back() == '/' ? folder : folder + "/") + name;
        if (keep(name, path, entry->d_type)) found.emplace_back(text::displaySortKey(name), name);
    }
    closedir(dir);
    if (readError) throw ErrorFromErrno(readError, PathKind::Folder, folder);
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    names.reserve(found.size());
    for (auto& [key, name] : found) names.push_back(std::move(name));
    return names;
}

// Whether the entry is a folder (or a file), following links.
bool isKind(const std::string& path, unsigned char type, mode_t wanted) {
    if (type == DT_DIR) return wanted == S_IFDIR;
    if (type == DT_REG) return wanted == S_IFREG;
    if (type != DT_LNK && type != DT_UNKNOWN) return false;
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == wanted;
}

// "*" and "?" over UTF-8: "?" takes one whole character.
bool wildcardMatch(const std::string& name, const std::string& pattern) {
    const auto nextChar = [&](std::size_t i) {
        ++i;
        while (i < name.size() && (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80) ++i;
        return i;
    };
    std::size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = nextChar(n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = starN = nextChar(starN);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

std::vector<DriveInfo> DrivesFromMountTable(const std::string& mountTable, const std::string& home) {
    std::vector<DriveInfo> drives{{"/", "", DriveInfo::Kind::Root}};
    const std::string homeFolder = withoutFinalSeparators(home);
    if (!homeFolder.empty() && homeFolder != "/") drives.push_back({homeFolder, "", DriveInfo::Kind::Home});

    std::vector<std::pair<std::string, DriveInfo>> media;
    std::istringstream lines(mountTable);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type) || kPseudoTypes.count(type)) continue;
        const std::string path = withoutFinalSeparators(unescapeMountPath(mountPoint));
        const char* const* under = std::find_if(std::begin(kMediaFolders), std::end(kMediaFolders), [&](const char* folder) {
            return path.rfind(folder, 0) == 0 && path.size() > std::string(folder).size();
        });
        if (under == std::end(kMediaFolders)) continue;
        const bool seen = std::any_of(drives.begin(), drives.end(), [&](const DriveInfo& d) { return d.root == path; }) ||
                          std::any_of(media.begin(), media.end(), [&](const auto& m) { return m.second.root == path; });
        if (seen) continue;
        const auto kind = std::string(*under) == "/mnt/" ? DriveInfo::Kind::Mounted : DriveInfo::Kind::Removable;
        // Removable media before other mounts, each by its name.
        const std::string label = lastComponent(path);
        media.emplace_back(std::to_string(static_cast<int>(kind)) + text::displaySortKey(label) + '\0' + path,
                           DriveInfo{path, label, kind});
    }
    std::sort(media.begin(), media.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [key, drive] : media) drives.push_back(std::move(drive));
    return drives;
}

std::vector<DriveInfo> MountedDrives(const std::string& home) {
    std::ifstream in("/proc/self/mounts");
    std::stringstream table;
    table << in.rdbuf();
    return DrivesFromMountTable(table.str(), home);
}

std::vector<std::string> SubfolderNames(const std::string& folder) {
    return namesIn(folder, [](const std::string&, const std::string& path, unsigned char type) {
        return isKind(path, type, S_IFDIR);
    });
}

std::vector<std::string> FileNames(const std::string& folder, const std::string& pattern) {
    return namesIn(folder, [&](const std::string& name, const std::string& path, unsigned char type) {
        return MatchesPattern(name, pattern) && isKind(path, type, S_IFREG);
    });
}

bool MatchesPattern(const std::string& name, const std::string& patterns) {
    const std::string folded = text::foldCase(name);
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = patterns.find(';', start);
        std::string one = patterns.substr(start, end == std::string::npos ? std::string::npos : end - start);
        one.erase(0, one.find_first_not_of(' '));
        one.erase(one.find_last_not_of(' ') + 1);
        if (!one.empty() && wildcardMatch(folded, text::foldCase(one))) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

}  // namespace platform
