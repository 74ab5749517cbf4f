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

}  // namespace testsupport
