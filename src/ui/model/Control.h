#pragma once
// Controls of a form as plain models: properties the program reads and sets,
// and events as handlers the form installs. A window backend observes the
// properties and fires the events when the user acts.
#include <functional>
#include <string>
#include <vector>

#include "ui/model/Types.h"

namespace ui {

class Form;
class Control;

enum class Property {
    Caption, Text, ToolTip, Visible, Enabled, Locked, BackColor, Font, Geometry,
    Items, ListIndex, Selected, Focus, ColumnWidths, Path, Selection, MaxLength
};

class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    virtual void propertyChanged(Control& control, Property property) = 0;
};

enum class ControlKind { CommandButton, Label, Frame, TextBox, ListBox, DriveListBox, DirListBox, FileListBox };

class Control {
public:
    Control(Form& form, std::string name, ControlKind kind);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Form& form() const { return form_; }

    const Geometry& geometry() const { return geometry_; }
    void setGeometry(double left, double top, double width, double height);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& toolTip);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool locked() const { return locked_; }
    void setLocked(bool locked);
    // Empty: the system's colour for this kind of control.
    const std::optional<Color>& backColor() const { return backColor_; }
    void setBackColor(std::optional<Color> color);
    const ui::Font& font() const { return font_; }
    void setFont(const ui::Font& font);
    int tabIndex() const { return tabIndex_; }
    void setTabIndex(int index) { tabIndex_ = index; }
    // Controls inside a frame name it here; positions are then relative to it.
    Control* container() const { return container_; }
    void setContainer(Control* frame) { container_ = frame; }

    // Asks for the keyboard focus; the form remembers which control has it.
    void setFocus();
    bool hasFocus() const;

    // Events. Handlers are installed by the form; backends call the fire
    // functions when the user acts.
    std::function<void()> onClick;
    std::function<void(int button, int shift, double x, double y)> onMouseDown;
    std::function<void(int button, int shift, double x, double y)> onMouseUp;
    std::function<void(int& keyAscii)> onKeyPress;
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyCode, int shift)> onKeyUp;
    std::function<void()> onChange;
    std::function<void()> onAfterUpdate;
    std::function<void()> onEnter;
    std::function<void()> onExit;
    std::function<void()> onDblClick;
    std::function<void(int button, int shift, double x, double y)> onMouseMove;

    void fireClick();
    void fireMouseDown(int button, int shift, double x = 0, double y = 0);
    void fireMouseUp(int button, int shift, double x = 0, double y = 0);
    // Returns the key after the handler, 0 when the handler cancelled it.
    int fireKeyPress(int keyAscii);
    int fireKeyDown(int keyCode, int shift);
    // A key let go (not the repeats of one held down).
    int fireKeyUp(int keyCode, int shift);
    void fireDblClick();
    void fireMouseMove(int button, int shift, double x = 0, double y = 0);
    void fireChange();

    void setObserver(ControlObserver* observer) { observer_ = observer; }

protected:
    void notify(Property property);

private:
    Form& form_;
    std::string name_;
    ControlKind kind_;
    Geometry geometry_;
    std::string caption_;
    std::string toolTip_;
    bool visible_ = true;
    bool enabled_ = true;
    bool locked_ = false;
    std::optional<Color> backColor_;
    ui::Font font_;
    int tabIndex_ = 0;
    Control* container_ = nullptr;
    ControlObserver* observer_ = nullptr;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name) : Control(form, std::move(name), ControlKind::CommandButton) {}
};

class Label : public Control {
public:
    Label(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Label) {}

    // Set before the form is shown.
    bool centered = false;
};

class Frame : public Control {
public:
    Frame(Form& form, std::string name) : Control(form, std::move(name), ControlKind::Frame) {}
};

class TextBox : public Control {
public:
    TextBox(Form& form, std::string name) : Control(form, std::move(name), ControlKind::TextBox) {}

    const std::string& text() const { return text_; }
    // A change made by the program: Change runs, AfterUpdate does not.
    void setText(const std::string& text);
    // A change made by the user: Change runs now, AfterUpdate when the user
    // leaves the control (commitUserEdit).
    void userSetText(const std::string& text);
    // The user leaves the control: AfterUpdate runs if the user changed it.
    void commitUserEdit();
    bool userEditPending() const { return userDirty_; }

    bool multiLine = false;
    bool scrollBars = false;

    // Characters the user may type; 0: no limit. The program's own texts
    // are never cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    // The selection, in characters (UTF-16 units, as the window counts
    // them): where it starts (the caret when it is empty) and how long it
    // is. The window shows a change at once, and the user's own selection
    // comes back here (userSelected).
    int SelStart() const { return selStart_; }
    void SetSelStart(int start);
    int SelLength() const { return selLength_; }
    void SetSelLength(int length);
    // The user moved the caret or selected: the model follows, no event.
    void userSelected(int start, int length);

private:
    std::string text_;
    bool userDirty_ = false;
    int maxLength_ = 0;
    int selStart_ = 0;
    int selLength_ = 0;
};

class ListBox : public Control {
public:
    ListBox(Form& form, std::string name, ControlKind kind = ControlKind::ListBox)
        : Control(form, std::move(name), kind) {}

    void AddItem(const std::string& text);
    // Replaces all entries at once (nothing selected afterwards).
    void SetItems(const std::vector<std::string>& texts);
    // Removing the selected entry leaves nothing selected; removing one above
    // it keeps the same entry selected.
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return static_cast<int>(rows_.size()); }
    // Text of an entry (column 0) or of one of its columns.
    const std::string& List(int index, int column = 0) const;
    void SetList(int index, const std::string& text, int column = 0);

    int ListIndex() const { return listIndex_; }
    // Selecting by program runs Click, as a user's selection does; -1 clears.
    void SetListIndex(int index);
    // The user picks an entry: the selection changes, then Click runs, then
    // AfterUpdate (only when the user changed it: never for the program).
    void userSelect(int index);
    // The user double-clicks an entry (or presses Enter on it): it is
    // selected, then DblClick runs.
    virtual void userDoubleClick(int index);
    bool Selected(int index) const { return index >= 0 && index == listIndex_; }
    // Text of the selected entry, "" when none.
    std::string Value() const;

    int columnCount = 1;
    const std::string& columnWidths() const { return columnWidths_; }
    void setColumnWidths(const std::string& widths);
    // Typing a letter moves to the first entry that begins with it.
    bool matchFirstLetter = true;
    // Index of the first entry beginning with `letter` (case-insensitive), -1 if none.
    int findFirstStartingWith(char letter) const;

    const std::vector<std::vector<std::string>>& rows() const { return rows_; }

protected:
    // Runs after the selection changed: Click for a list box.
    virtual void selectionChanged() { fireClick(); }

private:
    std::vector<std::vector<std::string>> rows_;
    int listIndex_ = -1;
    std::string columnWidths_;
};

}  // namespace ui
