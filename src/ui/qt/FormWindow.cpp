#include "ui/qt/FormWindow.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/qt/ControlWidgets.h"
#include "ui/qt/Conversions.h"
#include "ui/qt/InputMapping.h"
#include "ui/qt/Units.h"

namespace ui::qt {

namespace {

ListBox* asList(Control& control) { return dynamic_cast<ListBox*>(&control); }
TextBox* asTextBox(Control& control) { return dynamic_cast<TextBox*>(&control); }

// Rows one page key moves in a list: as many as it shows.
int rowsPerPage(const QListWidget& widget) {
    const int rowHeight = std::max(1, widget.sizeHintForRow(0));
    return std::max(1, widget.viewport()->height() / rowHeight);
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

}  // namespace

FormWindow::FormWindow(Form& form, HandlerGuard& guard, QWidget* parent, bool live)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form_(form), guard_(guard), live_(live) {
    setObjectName(toQString(form.name()));
    setWindowTitle(toQString(form.caption()));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(toPixels(form.clientWidth), toPixels(form.clientHeight));
    setFont(toQFont(form.font));
    if (const auto color = toQColor(form.backColor)) {
        QPalette colored = palette();
        colored.setColor(QPalette::Window, *color);
        setPalette(colored);
        setAutoFillBackground(true);
    }

    for (Control* control : form.controls()) buildWidget(*control);
    setTabOrder();

    if (live_) {
        form_.setObserver(this);
        for (Control* control : form.controls()) control->setObserver(this);
    }
}

FormWindow::~FormWindow() {
    // Child widgets die after this body: make sure none of their signals or
    // events (focus leaving a dying widget) reach the model any more.
    for (auto it = watched_.begin(); it != watched_.end(); ++it) {
        it.key()->removeEventFilter(this);
        it.key()->disconnect(this);
    }
    watched_.clear();
    detach();
}

void FormWindow::detach() {
    if (!live_) return;
    live_ = false;
    form_.setObserver(nullptr);
    for (Control* control : form_.controls()) control->setObserver(nullptr);
}

void FormWindow::makeModeless() {
    modeless_ = true;
    setWindowModality(Qt::NonModal);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

QWidget* FormWindow::buildWidget(Control& control) {
    if (auto found = widgets_.find(&control); found != widgets_.end()) return found->second;
    // Controls inside a frame are its children, placed relative to it.
    QWidget* parent = this;
    if (Control* frame = control.container(); frame && frame != &control) parent = buildWidget(*frame);
    QWidget* widget = createControlWidget(control, parent);
    widgets_[&control] = widget;
    watched_.insert(widget, &control);
    QWidget& mouse = mouseTarget(*widget);
    if (&mouse != widget) watched_.insert(&mouse, &control);
    widget->installEventFilter(this);
    if (&mouse != widget) mouse.installEventFilter(this);
    connectUserActions(control, *widget);
    return widget;
}

void FormWindow::connectUserActions(Control& control, QWidget& widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, &control] {
            const int shift = shiftState(lastModifiers_);
            userAction([&] {
                control.fireMouseDown(kLeftButton, shift);
                control.fireMouseUp(kLeftButton, shift);
                control.fireClick();
            });
        });
    } else if (auto* line = qobject_cast<QLineEdit*>(&widget)) {
        auto& box = static_cast<TextBox&>(control);
        connect(line, &QLineEdit::textEdited, this,
                [this, &box](const QString& text) { userAction([&] { box.userSetText(toStdString(text)); }); });
        connect(line, &QLineEdit::returnPressed, this, [this, &box] { userAction([&] { box.commitUserEdit(); }); });
        connect(line, &QLineEdit::cursorPositionChanged, this, [this, &box] { followSelection(box); });
        connect(line, &QLineEdit::selectionChanged, this, [this, &box] { followSelection(box); });
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        auto& list = static_cast<ListBox&>(control);
        connect(combo, &QComboBox::activated, this, [this, &list](int index) {
            userAction([&] {
                if (index >= 0 && index != list.ListIndex() && !list.locked()) list.userSelect(index);
            });
            // The model decides: a choice it refused (or changed) shows as it is.
            const QSignalBlocker block(widgetOf(list));
            if (auto* shown = qobject_cast<QComboBox*>(widgetOf(list))) shown->setCurrentIndex(list.ListIndex());
        });
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(&widget)) {
        auto& box = static_cast<TextBox&>(control);
        // Program changes are applied with signals blocked: this is the user.
        connect(edit, &QPlainTextEdit::textChanged, this, [this, &box, edit] {
            userAction([&] { box.userSetText(modelLines(edit->toPlainText())); });
        });
        connect(edit, &QPlainTextEdit::cursorPositionChanged, this, [this, &box] { followSelection(box); });
        connect(edit, &QPlainTextEdit::selectionChanged, this, [this, &box] { followSelection(box); });
    }
}

void FormWindow::setTabOrder() {
    std::vector<Control*> order;
    for (Control* control : form_.controls())
        if (takesFocus(*control)) order.push_back(control);
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(widgets_[order[i - 1]], widgets_[order[i]]);
}

void FormWindow::userAction(const std::function<void()>& action) {
    guard_.run([&] { form_.runUserAction(action); });
}

QWidget* FormWindow::widgetOf(const Control& control) const {
    auto found = widgets_.find(&control);
    return found == widgets_.end() ? nullptr : found->second;
}

void FormWindow::present() {
    // A form opens in the centre of the screen (one over another is centred
    // on it by Qt itself).
    if (!parentWidget()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame(QPoint(), size());
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    if (modeless_) return;
    activateWindow();
    QWidget* focus = nullptr;
    if (Control* focused = form_.focusedControl()) focus = widgetOf(*focused);
    if (!focus || !focus->isVisibleTo(this) || !focus->isEnabled() || focus->focusPolicy() == Qt::NoFocus) {
        focus = nullptr;
        std::vector<Control*> order(form_.controls());
        std::stable_sort(order.begin(), order.end(),
                         [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
        for (Control* control : order) {
            QWidget* widget = widgetOf(*control);
            if (takesFocus(*control) && widget->isVisibleTo(this) && widget->isEnabled()) {
                focus = widget;
                break;
            }
        }
    }
    if (focus) focus->setFocus(Qt::OtherFocusReason);
}

// --- the model's changes ------------------------------------------------------

void FormWindow::propertyChanged(Control& control, Property property) {
    QWidget* widget = widgetOf(control);
    if (!widget) return;
    if (property == Property::Focus) {
        if (widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus) widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QSignalBlocker block(widget);
    applyProperty(control, *widget, property);
    // A new text puts the caret where the widget puts it.
    if (property == Property::Text)
        if (auto* box = asTextBox(control)) followSelection(*box);
    // A frame's caption and font move its border line, and its controls with it.
    if (control.kind() == ControlKind::Frame && (property == Property::Caption || property == Property::Font))
        for (Control* inside : form_.controls())
            if (inside->container() == &control) propertyChanged(*inside, Property::Geometry);
}

void FormWindow::followSelection(TextBox& box) {
    if (QWidget* widget = widgetOf(box))
        if (const auto selection = widgetSelection(*widget)) box.userSelected(selection->first, selection->second);
}

void FormWindow::formCaptionChanged(Form& form) { setWindowTitle(toQString(form.caption())); }

void FormWindow::formClosed(Form&) {
    hide();
    if (loop_) loop_->quit();
    if (modeless_) {
        // The form may be going away: nothing of it is touched from here on.
        detach();
        deleteLater();
    }
}

// --- the user's actions -----------------------------------------------------

void FormWindow::closeEvent(QCloseEvent* event) {
    // The window goes when the model says so (formClosed); query-close may
    // keep it open.
    event->ignore();
    if (modeless_ && live_) return;  // only the program takes it down
    if (!live_ || !form_.showing()) {
        event->accept();
        return;
    }
    userAction([&] { form_.userClose(); });
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    Control* control = watched_.value(watched, nullptr);
    if (!control || !live_) return false;
    if (form_.busy() && isUserInput(event->type())) return true;  // a command of this form runs
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (mouseDoubleClicked(*control, static_cast<QWidget&>(*watched), static_cast<QMouseEvent&>(*event))) return true;
        return mousePressed(*control, static_cast<QWidget&>(*watched), static_cast<QMouseEvent&>(*event));
    case QEvent::MouseButtonPress:
        return mousePressed(*control, static_cast<QWidget&>(*watched), static_cast<QMouseEvent&>(*event));
    case QEvent::MouseButtonRelease: return mouseReleased(*control, static_cast<QMouseEvent&>(*event));
    case QEvent::MouseMove: {
        if (!control->onMouseMove) return false;
        const auto& move = static_cast<QMouseEvent&>(*event);
        const int button = (move.buttons() & Qt::LeftButton) ? kLeftButton : (move.buttons() & Qt::RightButton) ? kRightButton : 0;
        guard_.run([&] {
            control->fireMouseMove(button, shiftState(move.modifiers()), toPoints(move.position().x()),
                                   toPoints(move.position().y()));
        });
        return false;
    }
    case QEvent::KeyPress: return keyPressed(*control, *watched, static_cast<QKeyEvent&>(*event));
    case QEvent::KeyRelease: {
        const auto& key = static_cast<QKeyEvent&>(*event);
        const int code = keyCodeOf(key.key());
        if (!control->onKeyUp || key.isAutoRepeat() || code == 0 || !control->enabled()) return false;
        userAction([&] { control->fireKeyUp(code, shiftState(key.modifiers())); });
        return false;
    }
    case QEvent::FocusIn:
        guard_.run([&] { form_.setFocusedControl(control); });
        return false;
    case QEvent::FocusOut: {
        // Leaving the box completes the user's edit; another window coming
        // to the front (a message box) does not leave it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (auto* box = asTextBox(*control); box && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guard_.run([&] { box->commitUserEdit(); });
        return false;
    }
    default: return false;
    }
}

bool FormWindow::mousePressed(Control& control, QWidget& target, QMouseEvent& event) {
    const int button = buttonCode(event.button());
    if (!button || !control.enabled()) return false;
    lastModifiers_ = event.modifiers();
    // A command button's left click comes whole from its clicked signal.
    if (control.kind() == ControlKind::CommandButton && button == kLeftButton) return false;
    const int shift = shiftState(event.modifiers());
    const QPointF at = event.position();
    ListBox* list = asList(control);
    // A drop-down list (the drive list) opens and chooses by itself.
    if (list && control.kind() == ControlKind::DriveListBox) return false;
    if (list && button == kLeftButton) {
        // The list's selection is the model's: the row goes there first and
        // comes back through the observer.
        QWidget* widget = widgetOf(control);
        widget->setFocus(Qt::MouseFocusReason);
        auto* view = qobject_cast<QListWidget*>(widget);
        const QPoint viewportPos = view ? view->viewport()->mapFrom(&target, at.toPoint()) : QPoint();
        userAction([&] {
            control.fireMouseDown(button, shift, toPoints(at.x()), toPoints(at.y()));
            const int row = view ? view->indexAt(viewportPos).row() : -1;
            if (row >= 0 && row != list->ListIndex() && !list->locked()) list->userSelect(row);
        });
        return true;
    }
    userAction([&] { control.fireMouseDown(button, shift, toPoints(at.x()), toPoints(at.y())); });
    // Other buttons do nothing more: no selection, no context menu.
    return button != kLeftButton;
}

bool FormWindow::mouseDoubleClicked(Control& control, QWidget& target, QMouseEvent& event) {
    ListBox* list = asList(control);
    auto* view = qobject_cast<QListWidget*>(widgetOf(control));
    if (!list || !view || event.button() != Qt::LeftButton || !control.enabled() || list->locked()) return false;
    lastModifiers_ = event.modifiers();
    const int row = view->indexAt(view->viewport()->mapFrom(&target, event.position().toPoint())).row();
    if (row < 0) return false;
    guard_.run([&] { list->userDoubleClick(row); });
    return true;
}

bool FormWindow::mouseReleased(Control& control, QMouseEvent& event) {
    const int button = buttonCode(event.button());
    if (!button || !control.enabled()) return false;
    lastModifiers_ = event.modifiers();
    if (control.kind() == ControlKind::CommandButton && button == kLeftButton) return false;
    const int shift = shiftState(event.modifiers());
    const QPointF at = event.position();
    userAction([&] {
        control.fireMouseUp(button, shift, toPoints(at.x()), toPoints(at.y()));
        if (control.kind() == ControlKind::Label && button == kLeftButton) control.fireClick();
    });
    return button != kLeftButton || asList(control) != nullptr;
}

bool FormWindow::keyPressed(Control& control, QObject& watched, QKeyEvent& event) {
    if (reinjecting_ || !control.enabled()) return false;
    lastModifiers_ = event.modifiers();
    if (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) return false;
    const int shift = shiftState(event.modifiers());
    const int typed = keyAsciiOf(event);
    bool cancelled = false;
    int keyAscii = typed;
    userAction([&] {
        if (const int code = keyCodeOf(event.key()); code != 0 && control.fireKeyDown(code, shift) == 0) {
            cancelled = true;
            return;
        }
        if (typed != 0) {
            keyAscii = control.fireKeyPress(typed);
            cancelled = keyAscii == 0;
        }
    });
    if (cancelled || guard_.unwinding()) return true;

    if (ListBox* list = asList(control)) return listKey(*list, *widgetOf(control), event, keyAscii);
    if (auto* button = qobject_cast<QAbstractButton*>(widgetOf(control));
        button && (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)) {
        // Enter presses the button that has the focus, as Space does.
        button->click();
        return true;
    }
    if (keyAscii != typed) {
        // The handler replaced the character: the widget types the new one.
        QKeyEvent replaced(QEvent::KeyPress, event.key(), event.modifiers(), QString(QChar(keyAscii)));
        reinjecting_ = true;
        QCoreApplication::sendEvent(&watched, &replaced);
        reinjecting_ = false;
        return true;
    }
    return false;
}

bool FormWindow::listKey(ListBox& list, QWidget& widget, const QKeyEvent& event, int keyAscii) {
    auto* view = qobject_cast<QListWidget*>(&widget);
    if (!view) return false;
    int row = -2;  // no move
    const int last = list.ListCount() - 1;
    const int current = list.ListIndex();
    switch (event.key()) {
    case Qt::Key_Up: row = std::max(0, current - 1); break;
    case Qt::Key_Down: row = std::min(last, current + 1); break;
    case Qt::Key_Home: row = 0; break;
    case Qt::Key_End: row = last; break;
    case Qt::Key_PageUp: row = std::max(0, current - rowsPerPage(*view)); break;
    case Qt::Key_PageDown: row = std::min(last, std::max(0, current) + rowsPerPage(*view)); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // In a folder or file list Enter opens the folder or takes the file,
        // as a double-click does; other lists do nothing with it.
        if (list.kind() != ControlKind::DirListBox && list.kind() != ControlKind::FileListBox) return false;
        if (current >= 0 && !list.locked()) guard_.run([&] { list.userDoubleClick(current); });
        return true;
    default:
        if (keyAscii < 32) return false;  // Esc...: nothing for a list
        if (list.matchFirstLetter && keyAscii < 128) row = list.findFirstStartingWith(static_cast<char>(keyAscii));
        break;
    }
    if (row >= 0 && row <= last && row != current && !list.locked()) userAction([&] { list.userSelect(row); });
    if (list.ListIndex() >= 0) view->scrollToItem(view->item(list.ListIndex()));
    // The list never moves by itself: the model's selection is the only one.
    return true;
}

}  // namespace ui::qt
