#pragma once
// A sheet cell's value as the model keeps it: an 8-byte payload (the number,
// the boolean, the error code or a shared text) and its kind, 16 bytes with
// 7 of them spare at the end, where the cell keeps its format number. The
// automation calls pass values as `automation::Variant`; the engine converts
// at its edges (`fromVariant`, `toVariant`).
#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "automation/Variant.h"
#include "office/model/CellText.h"

namespace office {

class CellValue {
public:
    // In the order of automation::Variant::Type.
    enum class Kind : std::uint8_t { Empty, Number, Text, Boolean, Error };

    CellValue() noexcept : number_(0) {}
    CellValue(double number) noexcept : number_(number), kind_(Kind::Number) {}
    CellValue(CellText text) noexcept : kind_(Kind::Text) { new (&text_) CellText(std::move(text)); }
    CellValue(std::string_view text) : CellValue(CellText(text)) {}
    CellValue(const std::string& text) : CellValue(CellText(text)) {}
    CellValue(const char* text) : CellValue(CellText(text)) {}
    CellValue(bool) = delete;  // a boolean value is CellValue::boolean, not the number 1
    static CellValue boolean(bool b) noexcept;
    static CellValue error(std::uint8_t code) noexcept;

    static CellValue fromVariant(const automation::Variant& value);
    automation::Variant toVariant() const;

    CellValue(const CellValue& other) noexcept;
    CellValue(CellValue&& other) noexcept;
    CellValue& operator=(const CellValue& other) noexcept;
    CellValue& operator=(CellValue&& other) noexcept;
    ~CellValue() {
        if (kind_ == Kind::Text) text_.~CellText();
    }

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isText() const { return kind_ == Kind::Text; }
    bool isBoolean() const { return kind_ == Kind::Boolean; }
    bool isError() const { return kind_ == Kind::Error; }

    // Each accessor gives its kind's value, and 0, false or "" for another kind.
    double number() const { return kind_ == Kind::Number ? number_ : 0; }
    std::string_view text() const { return kind_ == Kind::Text ? text_.view() : std::string_view(); }
    bool booleanValue() const { return kind_ == Kind::Boolean && boolean_; }
    std::uint8_t errorCode() const { return kind_ == Kind::Error ? code_ : 0; }
    // The text itself, to be shared by another cell (empty for another kind).
    CellText sharedText() const { return kind_ == Kind::Text ? text_ : CellText(); }

    // As a cell shows it in the General format (see automation::Variant::toText).
    std::string toText() const;

    // Equal kinds and values; texts by their characters.
    bool operator==(const CellValue& other) const;

private:
    void assignPayload(const CellValue& other) noexcept;  // `other` is no text

    union {
        double number_;
        CellText text_;
        bool boolean_;
        std::uint8_t code_;
    };
    Kind kind_ = Kind::Empty;
};

}  // namespace office
