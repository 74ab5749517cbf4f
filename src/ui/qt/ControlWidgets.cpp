#include "ui/qt/ControlWidgets.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <algorithm>

#include "ui/qt/Conversions.h"
#include "ui/qt/FrameBox.h"
#include "ui/qt/ListColumns.h"
#include "ui/qt/Units.h"

namespace ui::qt {

namespace {

constexpr Property kAllProperties[] = {
    Property::Geometry, Property::Font,   Property::Caption, Property::Text,         Property::ToolTip,
    Property::Enabled,  Property::Locked, Property::BackColor, Property::ColumnWidths, Property::Items,
    Property::Visible,  Property::MaxLength, Property::Selection};

// A list whose selection is the model's: with nothing selected it shows no
// current entry either, where the view would put one on the first entry as
// it takes the focus (a light highlight that looks like a selection).
class ModelList final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QListWidget::focusInEvent(event);
        if (selectedItems().isEmpty()) selectionModel()->clearCurrentIndex();
    }
};

bool isList(ControlKind kind) {
    return kind == ControlKind::ListBox || kind == ControlKind::DriveListBox || kind == ControlKind::DirListBox ||
           kind == ControlKind::FileListBox;
}

QWidget* newWidget(Control& control, QWidget* parent) {
    switch (control.kind()) {
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(parent);
        // A form has no default button: Enter in a text box must not click one.
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        const bool centered = static_cast<Label&>(control).centered;
        label->setAlignment((centered ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        return label;
    }
    case ControlKind::Frame:
        return new FrameBox(parent);
    case ControlKind::TextBox: {
        auto& box = static_cast<TextBox&>(control);
        if (box.multiLine) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            const auto policy = box.scrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
            edit->setVerticalScrollBarPolicy(policy);
            edit->setHorizontalScrollBarPolicy(policy);
            return edit;
        }
        return new QLineEdit(parent);
    }
    case ControlKind::DriveListBox: {
        // A drop-down, as drive lists are; the choice goes to the model.
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        return combo;
    }
    case ControlKind::ListBox:
    case ControlKind::DirListBox:
    case ControlKind::FileListBox: {
        auto* list = new ModelList(parent);
        list->viewport()->setMouseTracking(true);  // MouseMove without a button held
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformItemSizes(true);
        list->setTextElideMode(Qt::ElideNone);
        if (static_cast<ListBox&>(control).columnCount > 1) list->setItemDelegate(new ColumnDelegate(list));
        return list;
    }
    }
    return new QWidget(parent);
}

QPalette::ColorRole backgroundRole(ControlKind kind) {
    switch (kind) {
    case ControlKind::CommandButton: return QPalette::Button;
    case ControlKind::TextBox: return QPalette::Base;
    case ControlKind::Label:
    case ControlKind::Frame: return QPalette::Window;
    default: return isList(kind) ? QPalette::Base : QPalette::Window;
    }
}

void applyBackColor(const Control& control, QWidget& widget) {
    const auto color = toQColor(control.backColor());
    const QPalette::ColorRole role = backgroundRole(control.kind());
    QPalette palette = widget.palette();
    if (color) {
        palette.setColor(role, *color);
        widget.setPalette(palette);
    } else {
        // An empty palette: the widget follows its parent and the style again.
        widget.setPalette(QPalette());
    }
    // Labels and frames paint no background of their own unless coloured.
    if (role == QPalette::Window) widget.setAutoFillBackground(color.has_value());
}

void fillList(ListBox& list, QListWidget& widget) {
    widget.clear();
    for (const auto& row : list.rows()) {
        QStringList columns;
        for (const std::string& column : row) columns << toQString(column);
        widget.addItem(list.columnCount > 1 ? columns.join(QChar('\t')) : columns.value(0));
    }
}

void fillCombo(const ListBox& list, QComboBox& combo) {
    combo.clear();
    for (const auto& row : list.rows()) combo.addItem(toQString(row.empty() ? std::string() : row[0]));
    combo.setCurrentIndex(list.ListIndex());
}

void showListIndex(const ListBox& list, QListWidget& widget) {
    const int index = list.ListIndex();
    if (widget.currentRow() == index && (index < 0 || widget.item(index)->isSelected())) return;
    widget.setCurrentRow(index);
    if (index < 0) widget.clearSelection();
}

void applyColumnWidths(const ListBox& list, QListWidget& widget) {
    auto* delegate = dynamic_cast<ColumnDelegate*>(widget.itemDelegate());
    if (!delegate) return;
    std::vector<int> pixels;
    for (double points : parseColumnWidths(list.columnWidths(), list.columnCount)) pixels.push_back(toPixels(points));
    delegate->setWidths(std::move(pixels));
    widget.viewport()->update();
}

void applyText(TextBox& box, QWidget& widget) {
    if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        const QString text = toQString(box.text());
        // The echo of the user's own typing leaves the cursor where it is.
        if (line->text() != text) line->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) {
        const QString text = displayLines(box.text());
        if (edit->toPlainText() != text) edit->setPlainText(text);
    }
}

// The model's selection on the widget, kept inside its text.
void applySelection(const TextBox& box, QWidget& widget) {
    if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        const int length = static_cast<int>(line->text().size());
        const int start = std::min(box.SelStart(), length);
        const int selected = std::min(box.SelLength(), length - start);
        if (selected > 0) line->setSelection(start, selected);
        else line->setCursorPosition(start);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) {
        QTextCursor cursor = edit->textCursor();
        const int length = static_cast<int>(edit->toPlainText().size());
        const int start = std::min(box.SelStart(), length);
        cursor.setPosition(start);
        cursor.setPosition(start + std::min(box.SelLength(), length - start), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }
}

// Qt's own limit stands for "none".
void applyMaxLength(const TextBox& box, QWidget& widget) {
    constexpr int kQtNoLimit = 32767;
    if (auto* line = qobject_cast<QLineEdit*>(&widget)) line->setMaxLength(box.MaxLength() > 0 ? box.MaxLength() : kQtNoLimit);
}

}  // namespace

QWidget* createControlWidget(Control& control, QWidget* parent) {
    QWidget* widget = newWidget(control, parent);
    widget->setObjectName(toQString(control.name()));
    // Forms show no menus of their own on a right click: it is an event the
    // form's handlers get.
    widget->setContextMenuPolicy(Qt::NoContextMenu);
    if (!takesFocus(control)) widget->setFocusPolicy(Qt::NoFocus);
    for (Property property : kAllProperties) applyProperty(control, *widget, property);
    return widget;
}

void applyProperty(Control& control, QWidget& widget, Property property) {
    switch (property) {
    case Property::Geometry: {
        const Geometry& g = control.geometry();
        const auto* frame = dynamic_cast<const FrameBox*>(widget.parentWidget());
        const int below = frame ? frame->lineTop() : 0;
        widget.setGeometry(toPixels(g.left), toPixels(g.top) + below, toPixels(g.width), toPixels(g.height));
        break;
    }
    case Property::Font: widget.setFont(toQFont(control.font())); break;
    case Property::Caption: {
        // Captions show as written: "&" marks no access key on these forms.
        QString caption = displayLines(control.caption());
        if (auto* label = qobject_cast<QLabel*>(&widget)) label->setText(caption);  // plain text
        caption.replace(QChar('&'), QStringLiteral("&&"));
        if (auto* button = qobject_cast<QPushButton*>(&widget)) button->setText(caption);
        else if (auto* frame = qobject_cast<QGroupBox*>(&widget)) frame->setTitle(caption);
        break;
    }
    case Property::Text:
        if (control.kind() == ControlKind::TextBox) applyText(static_cast<TextBox&>(control), widget);
        break;
    case Property::ToolTip: widget.setToolTip(toQString(control.toolTip())); break;
    case Property::Visible: widget.setVisible(control.visible()); break;
    case Property::Enabled: widget.setEnabled(control.enabled()); break;
    case Property::Locked:
        if (auto* line = qobject_cast<QLineEdit*>(&widget)) line->setReadOnly(control.locked());
        else if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) edit->setReadOnly(control.locked());
        break;
    case Property::BackColor: applyBackColor(control, widget); break;
    case Property::Items:
        if (auto* list = qobject_cast<QListWidget*>(&widget)) {
            fillList(static_cast<ListBox&>(control), *list);
            showListIndex(static_cast<ListBox&>(control), *list);
        } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
            fillCombo(static_cast<ListBox&>(control), *combo);
        }
        break;
    case Property::ListIndex:
    case Property::Selected:
        if (auto* list = qobject_cast<QListWidget*>(&widget)) showListIndex(static_cast<ListBox&>(control), *list);
        else if (auto* combo = qobject_cast<QComboBox*>(&widget))
            combo->setCurrentIndex(static_cast<ListBox&>(control).ListIndex());
        break;
    case Property::ColumnWidths:
        if (auto* list = qobject_cast<QListWidget*>(&widget)) applyColumnWidths(static_cast<ListBox&>(control), *list);
        break;
    case Property::Selection:
        if (control.kind() == ControlKind::TextBox) applySelection(static_cast<TextBox&>(control), widget);
        break;
    case Property::MaxLength:
        if (control.kind() == ControlKind::TextBox) applyMaxLength(static_cast<TextBox&>(control), widget);
        break;
    case Property::Focus:
    case Property::Path: break;
    }
}

std::optional<std::pair<int, int>> widgetSelection(const QWidget& widget) {
    if (auto* line = qobject_cast<const QLineEdit*>(&widget)) {
        if (line->hasSelectedText()) return std::pair{line->selectionStart(), line->selectionLength()};
        return std::pair{line->cursorPosition(), 0};
    }
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(&widget)) {
        const QTextCursor cursor = edit->textCursor();
        return std::pair{cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
    }
    return std::nullopt;
}

QWidget& mouseTarget(QWidget& widget) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(&widget)) return *area->viewport();
    return widget;
}

bool takesFocus(const Control& control) {
    return control.kind() != ControlKind::Label && control.kind() != ControlKind::Frame;
}

}  // namespace ui::qt
