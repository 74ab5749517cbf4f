#include "office/model/CellValue.h"

#include <utility>

namespace office {

CellValue CellValue::boolean(bool b) noexcept {
    CellValue v;
    v.boolean_ = b;
    v.kind_ = Kind::Boolean;
    return v;
}

CellValue CellValue::error(std::uint8_t code) noexcept {
    CellValue v;
    v.code_ = code;
    v.kind_ = Kind::Error;
    return v;
}

CellValue CellValue::fromVariant(const automation::Variant& value) {
    switch (value.type()) {
    case automation::Variant::Type::Empty: return {};
    case automation::Variant::Type::Number: return value.number();
    case automation::Variant::Type::Text: return CellValue(std::string_view(value.text()));
    case automation::Variant::Type::Boolean: return boolean(value.booleanValue());
    case automation::Variant::Type::Error: return error(value.errorCode());
    }
    return {};
}

automation::Variant CellValue::toVariant() const {
    switch (kind_) {
    case Kind::Empty: break;
    case Kind::Number: return number_;
    case Kind::Text: return text_.str();
    case Kind::Boolean: return automation::Variant::boolean(boolean_);
    case Kind::Error: return automation::Variant::error(code_);
    }
    return {};
}

std::string CellValue::toText() const { return kind_ == Kind::Text ? text_.str() : toVariant().toText(); }

// Only the active member is written: the bytes after kind_ belong to the cell.
void CellValue::assignPayload(const CellValue& other) noexcept {
    switch (other.kind_) {
    case Kind::Empty: number_ = 0; break;
    case Kind::Number: number_ = other.number_; break;
    case Kind::Boolean: boolean_ = other.boolean_; break;
    case Kind::Error: code_ = other.code_; break;
    case Kind::Text: break;
    }
}

CellValue::CellValue(const CellValue& other) noexcept : number_(0), kind_(other.kind_) {
    if (kind_ == Kind::Text) new (&text_) CellText(other.text_);
    else assignPayload(other);
}

CellValue::CellValue(CellValue&& other) noexcept : number_(0), kind_(other.kind_) {
    if (kind_ == Kind::Text) new (&text_) CellText(std::move(other.text_));
    else assignPayload(other);
}

CellValue& CellValue::operator=(const CellValue& other) noexcept {
    if (this == &other) return *this;
    if (other.kind_ == Kind::Text) {
        if (kind_ == Kind::Text) text_ = other.text_;
        else new (&text_) CellText(other.text_);
    } else {
        if (kind_ == Kind::Text) text_.~CellText();
        assignPayload(other);
    }
    kind_ = other.kind_;
    return *this;
}

CellValue& CellValue::operator=(CellValue&& other) noexcept {
    if (this == &other) return *this;
    if (other.kind_ == Kind::Text) {
        if (kind_ == Kind::Text) text_ = std::move(other.text_);
        else new (&text_) CellText(std::move(other.text_));
    } else {
        if (kind_ == Kind::Text) text_.~CellText();
        assignPayload(other);
    }
    kind_ = other.kind_;
    return *this;
}

bool CellValue::operator==(const CellValue& other) const {
    if (kind_ != other.kind_) return false;
    switch (kind_) {
    case Kind::Empty: return true;
    case Kind::Number: return number_ == other.number_;
    case Kind::Text: return text_ == other.text_;
    case Kind::Boolean: return boolean_ == other.boolean_;
    case Kind::Error: return code_ == other.code_;
    }
    return false;
}

}  // namespace office
