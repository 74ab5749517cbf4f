#include "office/format/NumberFormat.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace office {

namespace {

using automation::Variant;

// Excel's built-in formats that are not locale-bound, by index.
const char* builtinCode(std::uint16_t index) {
    switch (index) {
    case 1: return "0";
    case 2: return "0.00";
    case 3: return "#,##0";
    case 4: return "#,##0.00";
    case 5: return "\"$\"#,##0_);(\"$\"#,##0)";
    case 6: return "\"$\"#,##0_);[Red](\"$\"#,##0)";
    case 7: return "\"$\"#,##0.00_);(\"$\"#,##0.00)";
    case 8: return "\"$\"#,##0.00_);[Red](\"$\"#,##0.00)";
    case 9: return "0%";
    case 10: return "0.00%";
    case 11: return "0.00E+00";
    case 14: return "m/d/yyyy";
    case 15: return "d-mmm-yy";
    case 16: return "d-mmm";
    case 17: return "mmm-yy";
    case 18: return "h:mm AM/PM";
    case 19: return "h:mm:ss AM/PM";
    case 20: return "h:mm";
    case 21: return "h:mm:ss";
    case 22: return "m/d/yyyy h:mm";
    case 37: return "#,##0_);(#,##0)";
    case 38: return "#,##0_);[Red](#,##0)";
    case 39: return "#,##0.00_);(#,##0.00)";
    case 40: return "#,##0.00_);[Red](#,##0.00)";
    case 45: return "mm:ss";
    case 46: return "[h]:mm:ss";
    case 47: return "mm:ss.0";
    case 48: return "##0.0E+0";
    case 49: return "@";
    default: return "General";
    }
}

// One piece of a section: a literal text or a format character run.
struct Token {
    bool literal = false;
    std::string text;  // the literal, or one format character (repeated runs split)
};

std::vector<std::string> splitSections(const std::string& code) {
    std::vector<std::string> sections(1);
    bool quoted = false, bracket = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '\\' && !quoted && i + 1 < code.size()) {
            sections.back() += code.substr(i, 2);
            ++i;
            continue;
        }
        if (c == '"' && !bracket) quoted = !quoted;
        if (!quoted) {
            if (c == '[') bracket = true;
            if (c == ']') bracket = false;
            if (c == ';' && !bracket) {
                sections.emplace_back();
                continue;
            }
        }
        sections.back() += c;
    }
    return sections;
}

std::vector<Token> tokenize(const std::string& section) {
    std::vector<Token> tokens;
    auto literal = [&](const std::string& text) {
        if (!tokens.empty() && tokens.back().literal) tokens.back().text += text;
        else tokens.push_back({true, text});
    };
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '"') {
            const auto end = section.find('"', i + 1);
            literal(section.substr(i + 1, (end == std::string::npos ? section.size() : end) - i - 1));
            i = end == std::string::npos ? section.size() : end;
        } else if (c == '\\' && i + 1 < section.size()) {
            literal(section.substr(++i, 1));
        } else if (c == '_' && i + 1 < section.size()) {
            literal(" ");  // a blank as wide as the next character
            ++i;
        } else if (c == '*' && i + 1 < section.size()) {
            ++i;  // the fill character repeats to the cell's width: nothing here
        } else if (c == '[') {
            const auto end = section.find(']', i);
            const std::string inside = section.substr(i + 1, (end == std::string::npos ? section.size() : end) - i - 1);
            // [$€-410]: a currency text; [h] is read as h (hours past a day
            // are not added up); colours and conditions show nothing.
            if (!inside.empty() && inside[0] == '$') literal(inside.substr(1, inside.find('-') - 1));
            else if (!inside.empty() && (inside[0] == 'h' || inside[0] == 'H' || inside[0] == 'm' || inside[0] == 'M' ||
                                          inside[0] == 's' || inside[0] == 'S'))
                for (char k : inside) tokens.push_back({false, std::string(1, k)});
            i = end == std::string::npos ? section.size() : end;
        } else if (section.compare(i, 5, "AM/PM") == 0 || section.compare(i, 5, "am/pm") == 0) {
            tokens.push_back({false, "AM/PM"});
            i += 4;
        } else if (section.compare(i, 3, "A/P") == 0 || section.compare(i, 3, "a/p") == 0) {
            tokens.push_back({false, "A/P"});
            i += 2;
        } else if (std::string("0#?.,%Ee+-yYmMdDhHsS@/").find(c) != std::string::npos) {
            tokens.push_back({false, std::string(1, c)});
        } else {
            literal(std::string(1, c));
        }
    }
    return tokens;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isDateSection(const std::vector<Token>& tokens) {
    for (const Token& t : tokens)
        if (!t.literal && std::string("ydhs").find(lower(t.text[0])) != std::string::npos) return true;
    for (const Token& t : tokens)
        if (!t.literal && (t.text == "AM/PM" || t.text == "A/P")) return true;
    // "m" alone (a month) with nothing numeric around it.
    bool month = false;
    for (const Token& t : tokens) {
        if (t.literal) continue;
        if (lower(t.text[0]) == 'm') month = true;
        if (std::string("0#?").find(t.text[0]) != std::string::npos) return false;
    }
    return month;
}

// --- dates --------------------------------------------------------------

struct DateParts {
    int year = 1900, month = 1, day = 0, weekday = 0, hour = 0, minute = 0, second = 0;
};

DateParts dateParts(double serial, bool dates1904) {
    DateParts p;
    long long seconds = std::llround(serial * 86400.0);
    long long days = seconds / 86400;
    const long long rest = seconds % 86400;
    p.hour = static_cast<int>(rest / 3600);
    p.minute = static_cast<int>(rest / 60 % 60);
    p.second = static_cast<int>(rest % 60);
    if (!dates1904 && days == 60) {  // the 29 February 1900 the 1900 system counts
        p.year = 1900, p.month = 2, p.day = 29, p.weekday = 3;
        return p;
    }
    if (!dates1904 && days == 0) {  // "0 January 1900"
        p.year = 1900, p.month = 1, p.day = 0, p.weekday = 6;
        return p;
    }
    // Days since 1970-01-01, then the civil date (Howard Hinnant's algorithm).
    long long z = dates1904 ? -24107 + days : -25567 + (days > 60 ? days - 1 : days) - 1;
    p.weekday = static_cast<int>(((z % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday; 0 = Sunday
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2 ? 1 : 0));
    return p;
}

const std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
const std::array<const char*, 7> kDays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string twoDigits(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

std::string formatDate(double serial, const std::vector<Token>& tokens, bool dates1904) {
    if (serial < 0) return "########";
    const DateParts p = dateParts(serial, dates1904);
    bool twelveHours = false;
    for (const Token& t : tokens) twelveHours |= !t.literal && (t.text == "AM/PM" || t.text == "A/P");
    // Runs of one letter: "yyyy", "mm", ...
    std::vector<Token> runs;
    for (const Token& t : tokens) {
        if (!t.literal && !runs.empty() && !runs.back().literal && t.text.size() == 1 &&
            lower(runs.back().text[0]) == lower(t.text[0]) && std::string("ymdhs").find(lower(t.text[0])) != std::string::npos)
            runs.back().text += t.text;
        else
            runs.push_back(t);
    }
    std::string out;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const Token& t = runs[k];
        if (t.literal) {
            out += t.text;
            continue;
        }
        const char c = lower(t.text[0]);
        const std::size_t n = t.text.size();
        if (c == 'y') {
            out += n <= 2 ? twoDigits(p.year % 100) : std::to_string(p.year);
        } else if (c == 'm') {
            // A minute after an hour or before a second; a month otherwise.
            bool minute = false;
            for (std::size_t b = k; b-- > 0;)
                if (!runs[b].literal) {
                    minute = lower(runs[b].text[0]) == 'h';
                    break;
                }
            for (std::size_t a = k + 1; a < runs.size() && !minute; ++a)
                if (!runs[a].literal) {
                    minute = lower(runs[a].text[0]) == 's';
                    break;
                }
            if (minute) out += n >= 2 ? twoDigits(p.minute) : std::to_string(p.minute);
            else if (n == 1) out += std::to_string(p.month);
            else if (n == 2) out += twoDigits(p.month);
            else if (n == 3) out += std::string(kMonths[p.month - 1]).substr(0, 3);
            else if (n == 4) out += kMonths[p.month - 1];
            else out += kMonths[p.month - 1][0];
        } else if (c == 'd') {
            if (n == 1) out += std::to_string(p.day);
            else if (n == 2) out += twoDigits(p.day);
            else if (n == 3) out += std::string(kDays[p.weekday]).substr(0, 3);
            else out += kDays[p.weekday];
        } else if (c == 'h') {
            int hour = p.hour;
            if (twelveHours) hour = hour % 12 == 0 ? 12 : hour % 12;
            out += n >= 2 ? twoDigits(hour) : std::to_string(hour);
        } else if (c == 's') {
            out += n >= 2 ? twoDigits(p.second) : std::to_string(p.second);
        } else if (t.text == "AM/PM") {
            out += p.hour < 12 ? "AM" : "PM";
        } else if (t.text == "A/P") {
            out += p.hour < 12 ? "A" : "P";
        } else {
            out += t.text;  // a "." or "/" between date parts
        }
    }
    return out;
}

// --- numbers ------------------------------------------------------------

std::string groupThousands(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[i];
        if ((n - i - 1) % 3 == 0 && i + 1 < n) out += ',';
    }
    return out;
}

std::string formatNumber(double value, const std::vector<Token>& tokens) {
    // Where the placeholders are, and what the literals around them say.
    std::string prefix, suffix;
    int integerZeros = 0, decimals = 0, decimalZeros = 0, percent = 0, scaling = 0, exponentDigits = 0;
    bool grouping = false, decimalPoint = false, seenDigit = false, exponent = false, exponentPlus = false;
    int pendingCommas = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const char c = t.literal ? '\0' : t.text[0];
        if (c == 'E' || c == 'e') {
            exponent = true;
            exponentPlus = i + 1 < tokens.size() && tokens[i + 1].text == "+";
            ++i;
            continue;
        }
        const bool digit = c == '0' || c == '#' || c == '?';
        if (digit) {
            if (exponent) {
                ++exponentDigits;
            } else if (decimalPoint) {
                ++decimals;
                if (c == '0') decimalZeros = decimals;
            } else {
                if (pendingCommas) grouping = true;
                pendingCommas = 0;
                if (c == '0') ++integerZeros;
            }
            seenDigit = true;
            continue;
        }
        if (c == ',' && seenDigit && !decimalPoint) {
            ++pendingCommas;
            continue;
        }
        if (c == '.' && !decimalPoint && !exponent) {
            decimalPoint = true;
            scaling += pendingCommas;
            pendingCommas = 0;
            continue;
        }
        if (c == '%') ++percent;
        (seenDigit ? suffix : prefix) += t.text;
    }
    scaling += pendingCommas;

    value *= std::pow(100.0, percent);
    value /= std::pow(1000.0, scaling);

    std::string number;
    if (exponent) {
        int power = value == 0 ? 0 : static_cast<int>(std::floor(std::log10(value)));
        double mantissa = value / std::pow(10.0, power);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, mantissa);
        if (std::string(buffer).rfind("10", 0) == 0) {  // rounding went up a power
            ++power;
            std::snprintf(buffer, sizeof buffer, "%.*f", decimals, mantissa / 10);
        }
        std::string digits = std::to_string(std::abs(power));
        while (static_cast<int>(digits.size()) < exponentDigits) digits.insert(digits.begin(), '0');
        number = std::string(buffer) + "E" + (power < 0 ? "-" : (exponentPlus ? "+" : "")) + digits;
    } else {
        // Halves round away from zero, as the spreadsheet rounds (printf rounds them to even).
        const double scale = std::pow(10.0, decimals);
        const double rounded = std::round(value * scale) / scale;
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
        std::string text = buffer;
        std::string integer = text.substr(0, text.find('.'));
        std::string fraction = decimals > 0 ? text.substr(text.find('.') + 1) : "";
        // "#" shows no leading zero; "0" places insist on their digits.
        if (integer == "0" && integerZeros == 0) integer.clear();
        while (static_cast<int>(integer.size()) < integerZeros) integer.insert(integer.begin(), '0');
        while (static_cast<int>(fraction.size()) > decimalZeros && !fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        if (grouping) integer = groupThousands(integer);
        number = integer + (decimalPoint ? "." + fraction : "");
    }
    return prefix + number + suffix;
}

std::size_t generalAt(const std::string& section) {
    std::string folded;
    for (char c : section) folded += lower(c);
    return folded.find("general");
}

}  // namespace

std::string NumberFormatCode(const WorkbookModel& model, std::uint16_t index) {
    if (const auto found = model.numberFormats.find(index); found != model.numberFormats.end()) return found->second;
    return builtinCode(index);
}

std::string FormatValue(const Variant& value, const std::string& code, bool dates1904) {
    if (!value.isNumber()) {
        if (!value.isText()) return value.toText();
        const auto sections = splitSections(code);
        const std::string& section = sections.size() >= 4 ? sections[3] : sections[0];
        if (section.find('@') == std::string::npos) return value.text();
        std::string out;
        for (const Token& t : tokenize(section)) out += t.literal ? t.text : (t.text == "@" ? value.text() : "");
        return out;
    }
    const double number = value.number();
    const auto sections = splitSections(code);
    std::string section = sections[0];
    bool minus = number < 0;
    if (sections.size() >= 2 && number < 0) {
        section = sections[1];
        minus = false;  // the negative section writes its own sign
    } else if (sections.size() >= 3 && number == 0) {
        section = sections[2];
    }
    if (const auto at = generalAt(section); at != std::string::npos || section.empty()) {
        // "General" with literals around it ("General\ \"kg\"").
        std::string before, after;
        if (at != std::string::npos) {
            for (const Token& t : tokenize(section.substr(0, at))) before += t.literal ? t.text : "";
            for (const Token& t : tokenize(section.substr(at + 7))) after += t.literal ? t.text : "";
        }
        return (minus ? "-" : "") + before + automation::formatGeneralNumber(std::fabs(number)) + after;
    }
    const auto tokens = tokenize(section);
    if (isDateSection(tokens)) return formatDate(number, tokens, dates1904);
    for (const Token& t : tokens)
        if (!t.literal && t.text == "/") return automation::formatGeneralNumber(number);  // fractions
    const std::string text = formatNumber(std::fabs(number), tokens);
    // A negative value that rounds to nothing shows no sign.
    bool nonZero = false;
    for (char c : text) nonZero |= c >= '1' && c <= '9';
    return (minus && nonZero ? "-" : "") + text;
}

std::string ShownText(const WorkbookModel& model, const Cell& cell) {
    const std::uint16_t format = cell.xf < model.xfs.size() ? model.xfs[cell.xf].format : 0;
    return FormatValue(cell.value.toVariant(), NumberFormatCode(model, format), model.dates1904);
}

}  // namespace office
