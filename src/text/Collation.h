#pragma once
// The order in which lists are shown to the user: the collation of the
// user's locale (LC_ALL, LC_COLLATE, LANG), ignoring letter case. Under C or
// POSIX, or a locale the collation library does not know, the common
// Unicode order is used, so accented letters still sort next to their base
// letters.
#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace text {

class Collation {
public:
    // `posixLocale` as the environment names it ("it_IT.UTF-8", "C", "").
    explicit Collation(std::string_view posixLocale);
    ~Collation();
    Collation(const Collation&) = delete;
    Collation& operator=(const Collation&) = delete;

    // A key whose byte order is the display order; texts whose keys are
    // equal are equal ignoring case. Sorting by keys spares going through
    // the collation at every comparison.
    std::string sortKey(std::string_view utf8) const;
    // The locale whose order is used ("" for the common Unicode order).
    const std::string& locale() const { return locale_; }

private:
    std::string locale_;
    UCollator* collator_ = nullptr;
};

// The user's collation, read from the environment once.
const Collation& displayCollation();
inline std::string displaySortKey(std::string_view utf8) { return displayCollation().sortKey(utf8); }
// Negative, zero or positive; zero exactly when the texts are equal ignoring case.
int compareForDisplay(std::string_view a, std::string_view b);

}  // namespace text
