#include "platform/DesktopLauncher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/ErrnoError.h"

namespace platform {

namespace {

// The escapes of every string value of a Desktop Entry file.
std::string escapeValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

// A value must not start with blanks, which readers drop.
std::string escapeLeadingSpace(std::string value) {
    if (!value.empty() && value[0] == ' ') value = "\\s" + value.substr(1);
    return value;
}

bool inGnomeSession() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    return desktop && bus && *bus && std::string(desktop).find("GNOME") != std::string::npos;
}

class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& finalPath) {
        const std::size_t slash = finalPath.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : finalPath.substr(0, slash + 1);
        std::string pattern = folder + ".tavolex-launcher-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        fd_ = mkstemp(name.data());
        if (fd_ < 0) throw ErrorFromErrno(errno, PathKind::Folder, folder);
        path_ = name.data();
    }
    ~TemporaryFile() {
        if (fd_ >= 0) close(fd_);
        if (!kept_) unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(const std::string& text, mode_t mode, const std::string& reportAs) {
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw ErrorFromErrno(errno, PathKind::File, reportAs);
            done += static_cast<std::size_t>(n);
        }
        if (fchmod(fd_, mode) != 0 || fsync(fd_) != 0) throw ErrorFromErrno(errno, PathKind::File, reportAs);
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0) throw ErrorFromErrno(errno, PathKind::File, reportAs);
    }
    void renameTo(const std::string& finalPath) {
        if (rename(path_.c_str(), finalPath.c_str()) != 0) throw ErrorFromErrno(errno, PathKind::File, finalPath);
        kept_ = true;
    }

private:
    int fd_ = -1;
    std::string path_;
    bool kept_ = false;
};

}  // namespace

std::string ExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    quoted += '"';
    return escapeValue(quoted);
}

std::string DesktopEntryText(const automation::Shortcut& shortcut) {
    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Version=1.0\n";
    text += "Name=" + escapeLeadingSpace(escapeValue(shortcut.name)) + "\n";
    text += "Comment=" + escapeLeadingSpace(escapeValue("Presentation groups of " + shortcut.arguments)) + "\n";
    text += "Exec=" + ExecArgument(shortcut.targetPath) + " " + ExecArgument(shortcut.arguments) + "\n";
    text += "Path=" + escapeLeadingSpace(escapeValue(shortcut.workingDirectory)) + "\n";
    text += "Icon=x-office-presentation\n";
    text += "Terminal=false\n";
    text += "Categories=Office;\n";
    return text;
}

std::string FileHandlerEntryText(const automation::FileHandlerEntry& entry) {
    std::string exec = ExecArgument(entry.targetPath);
    for (const std::string& argument : entry.arguments) exec += " " + ExecArgument(argument);
    std::string mimeTypes;
    for (const std::string& type : entry.mimeTypes) mimeTypes += escapeValue(type) + ";";
    std::string text = "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Version=1.0\n";
    text += "Name=" + escapeLeadingSpace(escapeValue(entry.name)) + "\n";
    // "%f": the one file the desktop opens with it, never quoted.
    text += "Exec=" + exec + " %f\n";
    text += "MimeType=" + mimeTypes + "\n";
    // Offered for its files, not listed among the programs to start.
    text += "NoDisplay=true\n";
    text += "Icon=x-office-presentation\n";
    text += "Terminal=false\n";
    return text;
}

void WriteFileHandler(const automation::FileHandlerEntry& entry, const std::string& updateCommand) {
    const std::string folder = std::filesystem::path(entry.entryPath).parent_path().string();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw ErrorFromErrno(error.value(), PathKind::Folder, folder);
    TemporaryFile file(entry.entryPath);
    file.write(FileHandlerEntryText(entry), 0644, entry.entryPath);
    file.renameTo(entry.entryPath);
    // Desktops that read the folder's cache of kinds see the entry at once;
    // the cache only lists programs, it sets no default.
    CaptureOutput({"timeout", "5", updateCommand, "-q", folder});
}

void WriteLauncher(const automation::Shortcut& shortcut, const std::string& gioCommand) {
    TemporaryFile file(shortcut.linkPath);
    file.write(DesktopEntryText(shortcut), 0755, shortcut.linkPath);
    file.renameTo(shortcut.linkPath);
    // GNOME starts a launcher from the desktop only once it is trusted; a
    // bounded wait, since gio talks to the session's services.
    if (inGnomeSession())
        CaptureOutput({"timeout", "5", gioCommand, "set", shortcut.linkPath, "metadata::trusted", "true"});
}

}  // namespace platform
