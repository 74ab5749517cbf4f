#include "text/Collation.h"

#include <unicode/ucol.h>

#include <cstdlib>
#include <vector>

#include "text/CaseFold.h"
#include "text/Utf.h"

namespace text {

namespace {

// "it_IT.UTF-8@euro" -> "it_IT"; C and POSIX -> "".
std::string collationLocaleOf(std::string_view posixLocale) {
    std::string name(posixLocale.substr(0, posixLocale.find_first_of(".@")));
    if (name == "C" || name == "POSIX") name.clear();
    return name;
}

std::string environmentLocale() {
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"})
        if (const char* value = std::getenv(variable); value && *value) return value;
    return {};
}

}  // namespace

Collation::Collation(std::string_view posixLocale) : locale_(collationLocaleOf(posixLocale)) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(locale_.c_str(), &status);
    if (U_FAILURE(status)) {
        locale_.clear();
        status = U_ZERO_ERROR;
        collator_ = ucol_open("", &status);
    }
    // Secondary strength: letters and accents count, letter case does not.
    if (collator_) ucol_setStrength(collator_, UCOL_SECONDARY);
}

Collation::~Collation() {
    if (collator_) ucol_close(collator_);
}

std::string Collation::sortKey(std::string_view utf8) const {
    const std::string folded = foldCase(utf8);
    std::string key;
    if (collator_) {
        const std::u16string units = utf8ToUtf16(folded);
        const auto* chars = reinterpret_cast<const UChar*>(units.data());
        const auto length = static_cast<int32_t>(units.size());
        std::vector<uint8_t> bytes(units.size() * 3 + 16);
        int32_t size = ucol_getSortKey(collator_, chars, length, bytes.data(), static_cast<int32_t>(bytes.size()));
        if (size > static_cast<int32_t>(bytes.size())) {
            bytes.resize(static_cast<std::size_t>(size));
            size = ucol_getSortKey(collator_, chars, length, bytes.data(), size);
        }
        // The collation's key ends with a zero byte, so the folded text after
        // it only decides between texts the collation calls equal.
        key.assign(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(size));
    }
    key += folded;
    return key;
}

const Collation& displayCollation() {
    static const Collation collation(environmentLocale());
    return collation;
}

int compareForDisplay(std::string_view a, std::string_view b) {
    const int order = displaySortKey(a).compare(displaySortKey(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace text
