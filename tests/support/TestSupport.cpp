#include "support/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <iterator>
#include <random>

namespace testsupport {

TempFolder::TempFolder(const std::string& hint) {
    std::random_device random;
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / (hint + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Restore permissions a test may have taken away, so removal succeeds.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path testData(const std::string& name) { return std::filesystem::path(TAVOLEX_TEST_DATA) / name; }

std::filesystem::path sharedSample(const std::string& name) {
    return std::filesystem::path(TAVOLEX_SHARED_SAMPLES) / name;
}

std::vector<SampleWorkbook> sampleWorkbooks() {
    static const std::map<std::string, std::string> passwords = {
        {"locked.xls", "ab1234"},
        {"poi_password.xls", "password"},
        {"sheetjs_password_2002_40_basecrypto.xls", "password"},
        {"sheetjs_password_2002_128_strong.xls", "password"},
        {"msoffcrypto_rc4cryptoapi_password.xls", "Password1234_"},
    };
    std::vector<SampleWorkbook> found;
    for (const auto& folder : {testData(""), sharedSample("reference")}) {
        if (!std::filesystem::exists(folder)) continue;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".xls") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            auto it = passwords.find(file.filename().string());
            found.push_back({file, it == passwords.end() ? "" : it->second});
        }
    }
    return found;
}

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string hexText(std::span<const std::uint8_t> bytes) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

std::map<std::string, std::string> readDesktopEntry(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::map<std::string, std::string> keys;
    bool inGroup = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] == '[') inGroup = line == "[Desktop Entry]";
        const std::size_t equals = line.find('=');
        if (inGroup && equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

std::vector<std::string> parseExecLine(const std::string& value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            unescaped += value[i];
            continue;
        }
        const char next = value[++i];
        unescaped += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
    }
    std::string expanded;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        expanded += unescaped[i];
        if (unescaped[i] == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') ++i;
    }
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false, quoted = false;
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        const char c = expanded[i];
        if (quoted) {
            if (c == '"') quoted = false;
            else if (c == '\\' && i + 1 < expanded.size() && std::string("\"`$\\").find(expanded[i + 1]) != std::string::npos)
                current += expanded[++i];
            else current += c;
        } else if (c == ' ') {
            if (inArgument) args.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == '"') quoted = true;
            else current += c;
        }
    }
    if (inArgument) args.push_back(current);
    return args;
}

}  // namespace testsupport
