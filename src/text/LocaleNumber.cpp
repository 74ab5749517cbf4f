#include "text/LocaleNumber.h"

#include <unicode/unum.h>

#include <charconv>
#include <cstdlib>
#include <string>

#include "text/Utf.h"

namespace text {

namespace {

std::string numericLocale() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"})
        if (const char* value = std::getenv(variable); value && *value) return value;
    return {};
}

}  // namespace

NumberReader::NumberReader(std::string_view posixLocale) {
    std::string name(posixLocale.substr(0, posixLocale.find_first_of(".@")));
    if (name.empty() || name == "C" || name == "POSIX") return;
    UErrorCode status = U_ZERO_ERROR;
    UNumberFormat* format = unum_open(UNUM_DECIMAL, nullptr, 0, name.c_str(), nullptr, &status);
    if (U_FAILURE(status) || !format) return;
    UChar symbol[8] = {};
    const int32_t length = unum_getSymbol(format, UNUM_DECIMAL_SEPARATOR_SYMBOL, symbol, 8, &status);
    if (U_SUCCESS(status) && length == 1) separator_ = symbol[0];
    unum_close(format);
}

std::optional<double> NumberReader::read(std::string_view typed) const {
    std::size_t begin = typed.find_first_not_of(' ');
    if (begin == std::string_view::npos) return std::nullopt;
    const std::size_t end = typed.find_last_not_of(' ') + 1;
    std::string plain;  // in the C library's form: "-99.6"
    bool digits = false, separator = false;
    for (std::size_t i = begin; i < end;) {
        const std::size_t at = i;
        const auto c = nextCodePoint(typed, i);
        if (!c) return std::nullopt;
        if (*c >= U'0' && *c <= U'9') {
            plain.push_back(static_cast<char>(*c));
            digits = true;
        } else if ((*c == U'+' || *c == U'-') && at == begin) {
            plain.push_back(static_cast<char>(*c));
        } else if (*c == separator_ && !separator) {
            plain.push_back('.');
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    // from_chars reads "." whatever the process's locale; it takes no "+".
    const char* first = plain.data() + (plain.front() == '+' ? 1 : 0);
    double value = 0;
    const auto [stop, error] = std::from_chars(first, plain.data() + plain.size(), value);
    if (error != std::errc() || stop != plain.data() + plain.size()) return std::nullopt;
    return value;
}

const NumberReader& userNumbers() {
    static const NumberReader reader(numericLocale());
    return reader;
}

}  // namespace text
