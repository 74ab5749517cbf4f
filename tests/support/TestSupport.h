#pragma once
// Helpers shared by the test programs: temporary folders and fixture paths.
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    explicit TempFolder(const std::string& hint = "tavolex");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The folder as the program holds it: ending with the separator.
    std::string withSeparator() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

// Samples made for the project (copied into tests/data) and the shared
// reference files (may be absent: tests then skip).
std::filesystem::path testData(const std::string& name);
std::filesystem::path sharedSample(const std::string& name);

// Every .xls of tests/data and of the shared reference folder (when present),
// with the open password each needs ("" for none or the built-in one).
struct SampleWorkbook {
    std::filesystem::path path;
    std::string password;
};
std::vector<SampleWorkbook> sampleWorkbooks();

// The whole file's bytes (empty when it cannot be read).
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path);
// Bytes as lower-case hexadecimal text, for readable comparisons.
std::string hexText(std::span<const std::uint8_t> bytes);

// A Desktop Entry file's keys of its [Desktop Entry] group, values as written.
std::map<std::string, std::string> readDesktopEntry(const std::filesystem::path& path);
// The program and arguments an Exec value starts, read as the Desktop Entry
// rules say: string escapes first, then "%%", then the quoting.
std::vector<std::string> parseExecLine(const std::string& value);

}  // namespace testsupport
