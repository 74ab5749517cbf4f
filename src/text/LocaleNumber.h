#pragma once
// Numbers as the user types them: the decimal separator of the user's
// numeric locale (LC_ALL, LC_NUMERIC, LANG), "99,6" under Italian and
// "99.6" under English or C/POSIX. No thousands separators, no exponent.
#include <optional>
#include <string>
#include <string_view>

namespace text {

class NumberReader {
public:
    // `posixLocale` as the environment names it ("it_IT.UTF-8", "C", "").
    explicit NumberReader(std::string_view posixLocale);
    // The value of a text such as "-12", "99,6" or ",5" (blanks around it
    // allowed); nothing when it is no number.
    std::optional<double> read(std::string_view typed) const;
    char32_t decimalSeparator() const { return separator_; }

private:
    char32_t separator_ = U'.';
};

// The user's numeric locale, read from the environment once.
const NumberReader& userNumbers();

}  // namespace text
