#include "ui/model/Control.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "ui/model/Form.h"

namespace ui {

Control::Control(Form& form, std::string name, ControlKind kind)
    : form_(form), name_(std::move(name)), kind_(kind), font_(form.font) {
    form.registerControl(this);
}

void Control::notify(Property property) {
    if (observer_) observer_->propertyChanged(*this, property);
}

void Control::setGeometry(double left, double top, double width, double height) {
    geometry_ = {left, top, width, height};
    notify(Property::Geometry);
}

void Control::setCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    notify(Property::Caption);
}

void Control::setToolTip(const std::string& toolTip) {
    if (toolTip_ == toolTip) return;
    toolTip_ = toolTip;
    notify(Property::ToolTip);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    notify(Property::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    notify(Property::Enabled);
}

void Control::setLocked(bool locked) {
    if (locked_ == locked) return;
    locked_ = locked;
    notify(Property::Locked);
}

void Control::setBackColor(std::optional<Color> color) {
    if (backColor_ == color) return;
    backColor_ = color;
    notify(Property::BackColor);
}

void Control::setFont(const ui::Font& font) {
    if (font_ == font) return;
    font_ = font;
    notify(Property::Font);
}

void Control::setFocus() {
    form_.setFocusedControl(this);
    notify(Property::Focus);
}

bool Control::hasFocus() const { return form_.focusedControl() == this; }

void Control::fireClick() {
    if (onClick) onClick();
}

void Control::fireMouseDown(int button, int shift, double x, double y) {
    if (onMouseDown) onMouseDown(button, shift, x, y);
}

void Control::fireMouseUp(int button, int shift, double x, double y) {
    if (onMouseUp) onMouseUp(button, shift, x, y);
}

int Control::fireKeyPress(int keyAscii) {
    if (onKeyPress) onKeyPress(keyAscii);
    return keyAscii;
}

int Control::fireKeyDown(int keyCode, int shift) {
    if (onKeyDown) onKeyDown(keyCode, shift);
    return keyCode;
}

int Control::fireKeyUp(int keyCode, int shift) {
    if (onKeyUp) onKeyUp(keyCode, shift);
    return keyCode;
}

void Control::fireDblClick() {
    if (onDblClick) onDblClick();
}

void Control::fireMouseMove(int button, int shift, double x, double y) {
    if (onMouseMove) onMouseMove(button, shift, x, y);
}

void Control::fireChange() {
    if (onChange) onChange();
}

// --- TextBox ---------------------------------------------------------------

void TextBox::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    notify(Property::Text);
    if (onChange) onChange();
}

void TextBox::userSetText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    userDirty_ = true;
    notify(Property::Text);
    if (onChange) onChange();
}

void TextBox::SetMaxLength(int length) {
    length = std::max(0, length);
    if (maxLength_ == length) return;
    maxLength_ = length;
    notify(Property::MaxLength);
}

void TextBox::SetSelStart(int start) {
    // As the form's text box does: a new start empties the selection.
    start = std::max(0, start);
    if (selStart_ == start && selLength_ == 0) return;
    selStart_ = start;
    selLength_ = 0;
    notify(Property::Selection);
}

void TextBox::SetSelLength(int length) {
    length = std::max(0, length);
    if (selLength_ == length) return;
    selLength_ = length;
    notify(Property::Selection);
}

void TextBox::userSelected(int start, int length) {
    selStart_ = std::max(0, start);
    selLength_ = std::max(0, length);
}

void TextBox::commitUserEdit() {
    if (!userDirty_) return;
    userDirty_ = false;
    if (onAfterUpdate) onAfterUpdate();
}

// --- ListBox ---------------------------------------------------------------

void ListBox::AddItem(const std::string& text) {
    rows_.push_back({text});
    notify(Property::Items);
}

void ListBox::SetItems(const std::vector<std::string>& texts) {
    rows_.clear();
    rows_.reserve(texts.size());
    for (const std::string& text : texts) rows_.push_back({text});
    listIndex_ = -1;
    notify(Property::Items);
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) throw std::out_of_range("list entry " + std::to_string(index));
    rows_.erase(rows_.begin() + index);
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
    notify(Property::Items);
}

void ListBox::Clear() {
    rows_.clear();
    listIndex_ = -1;
    notify(Property::Items);
}

const std::string& ListBox::List(int index, int column) const {
    static const std::string empty;
    if (index < 0 || index >= ListCount()) throw std::out_of_range("list entry " + std::to_string(index));
    const auto& row = rows_[index];
    return column >= 0 && column < static_cast<int>(row.size()) ? row[column] : empty;
}

void ListBox::SetList(int index, const std::string& text, int column) {
    if (index < 0 || index >= ListCount() || column < 0) throw std::out_of_range("list entry " + std::to_string(index));
    auto& row = rows_[index];
    if (static_cast<int>(row.size()) <= column) row.resize(column + 1);
    row[column] = text;
    notify(Property::Items);
}

void ListBox::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw std::out_of_range("list index " + std::to_string(index));
    if (listIndex_ == index) return;
    listIndex_ = index;
    notify(Property::ListIndex);
    selectionChanged();
}

void ListBox::userSelect(int index) {
    const bool changed = index != ListIndex();
    SetListIndex(index);
    if (changed && onAfterUpdate) onAfterUpdate();
}

void ListBox::userDoubleClick(int index) {
    SetListIndex(index);
    fireDblClick();
}

std::string ListBox::Value() const { return listIndex_ >= 0 ? List(listIndex_) : std::string(); }

void ListBox::setColumnWidths(const std::string& widths) {
    columnWidths_ = widths;
    notify(Property::ColumnWidths);
}

int ListBox::findFirstStartingWith(char letter) const {
    const int wanted = std::tolower(static_cast<unsigned char>(letter));
    for (int i = 0; i < ListCount(); ++i) {
        const std::string& text = rows_[i].empty() ? std::string() : rows_[i][0];
        if (!text.empty() && std::tolower(static_cast<unsigned char>(text[0])) == wanted) return i;
    }
    return -1;
}

}  // namespace ui
