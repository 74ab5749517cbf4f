#include "automation/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace automation {

std::string formatGeneralNumber(double number) {
    if (std::isnan(number)) return "#NUM!";
    if (std::isinf(number)) return number > 0 ? "#NUM!" : "-#NUM!";
    if (number == std::floor(number) && std::fabs(number) < 1e15) {
        // Ids and counts are read as text by the thousand: no printf for them.
        if (number == 0) return std::signbit(number) ? "-0" : "0";
        char buffer[24];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(number)).ptr;
        return std::string(buffer, end);
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", number);
    std::string text = buffer;
    // %G keeps trailing zeros out already, except in the exponent form's mantissa.
    auto e = text.find('E');
    if (e != std::string::npos) {
        std::string mantissa = text.substr(0, e);
        if (mantissa.find('.') != std::string::npos) {
            while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
            if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
        }
        text = mantissa + text.substr(e);
    }
    return text;
}

std::string Variant::toText() const {
    switch (type()) {
    case Type::Empty: return {};
    case Type::Number: return formatGeneralNumber(number());
    case Type::Text: return text();
    case Type::Boolean: return booleanValue() ? "TRUE" : "FALSE";
    case Type::Error:
        switch (errorCode()) {
        case 0x00: return "#NULL!";
        case 0x07: return "#DIV/0!";
        case 0x0F: return "#VALUE!";
        case 0x17: return "#REF!";
        case 0x1D: return "#NAME?";
        case 0x24: return "#NUM!";
        case 0x2A: return "#N/A";
        default: return "#ERROR!";
        }
    }
    return {};
}

namespace {
bool parseNumber(const std::string& text, double& out) {
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) return false;
    std::string trimmed = text.substr(begin, end - begin + 1);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (*first == '+') ++first;
    if (first == last) return false;
    auto result = std::from_chars(first, last, out);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(out);
}
}  // namespace

bool Variant::isNumeric() const {
    if (isNumber()) return true;
    double ignored;
    return isText() && parseNumber(text(), ignored);
}

double Variant::toNumber() const {
    if (isNumber()) return number();
    double value = 0;
    if (isText() && parseNumber(text(), value)) return value;
    if (isBoolean()) return booleanValue() ? -1 : 0;
    return 0;
}

}  // namespace automation
