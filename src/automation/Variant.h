#pragma once
// A loose cell value as the automation calls pass it: empty, a number, a text,
// and, when read from other programs' files, a boolean or an error code.
#include <cstdint>
#include <string>
#include <variant>

namespace automation {

class Variant {
public:
    enum class Type { Empty, Number, Text, Boolean, Error };

    Variant() = default;
    Variant(double number) : value_(number) {}
    Variant(int number) : value_(static_cast<double>(number)) {}
    Variant(long number) : value_(static_cast<double>(number)) {}
    Variant(std::string text) : value_(std::move(text)) {}
    Variant(const char* text) : value_(std::string(text)) {}
    static Variant boolean(bool b) { Variant v; v.value_ = b; return v; }
    static Variant error(std::uint8_t code) { Variant v; v.value_ = ErrorCode{code}; return v; }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNumber() const { return type() == Type::Number; }
    bool isText() const { return type() == Type::Text; }
    bool isBoolean() const { return type() == Type::Boolean; }
    bool isError() const { return type() == Type::Error; }

    double number() const { return std::get<double>(value_); }
    const std::string& text() const { return std::get<std::string>(value_); }
    bool booleanValue() const { return std::get<bool>(value_); }
    std::uint8_t errorCode() const { return std::get<ErrorCode>(value_).code; }

    // The value as text, as a cell shows it in the General format: "" for empty,
    // up to 15 significant digits for numbers, TRUE/FALSE, #N/A and the like.
    std::string toText() const;
    // True for a number, or a text that reads as one once trimmed ("12", " 3.5 ").
    bool isNumeric() const;
    // The number, or the number a numeric text reads as; 0 otherwise.
    double toNumber() const;

    bool operator==(const Variant& other) const = default;

private:
    struct ErrorCode {
        std::uint8_t code;
        bool operator==(const ErrorCode&) const = default;
    };
    // Its tail padding is free for a class that holds the Variant as
    // [[no_unique_address]]: a sheet cell keeps its format number there.
    [[no_unique_address]] std::variant<std::monostate, double, std::string, bool, ErrorCode> value_;
};

// Text of a number in the General format: integers without decimals, others
// with up to 15 significant digits and no trailing zeros.
std::string formatGeneralNumber(double number);

}  // namespace automation
