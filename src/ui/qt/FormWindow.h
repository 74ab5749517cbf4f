#pragma once
// The window of one form while it is shown: a top-level widget with one
// child widget per control. It follows the model (the program's changes show
// at once) and turns the user's actions into the model's events. Every call
// into the model goes through the HandlerGuard.
#include <QEventLoop>
#include <QHash>
#include <QWidget>
#include <functional>
#include <map>

#include "ui/model/Form.h"
#include "ui/qt/HandlerGuard.h"

class QKeyEvent;
class QMouseEvent;

namespace ui::qt {

class FormWindow : public QWidget, private FormObserver, private ControlObserver {
public:
    // `live`: the window shows the form to the user and follows the model's
    // changes; a window built only to take the form's picture is not live.
    FormWindow(Form& form, HandlerGuard& guard, QWidget* parent, bool live);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    Form& form() const { return form_; }
    // The loop that ends when the form hides or unloads.
    void setLoop(QEventLoop* loop) { loop_ = loop; }
    // Makes the window one that stays up without a loop of its own: behind
    // the modal windows, never active, refusing the user's close, and gone
    // (from the event loop) once its form hides or unloads.
    void makeModeless();
    // Shows the window and puts the focus where the model has it.
    void present();
    QWidget* widgetOf(const Control& control) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs an action of the user through the form's input rule (HandlerGuard
    // around it): dropped while another action of this form runs.
    void userAction(const std::function<void()>& action);
    // Stops following the model and reporting to it.
    void detach();
    QWidget* buildWidget(Control& control);
    void connectUserActions(Control& control, QWidget& widget);
    void setTabOrder();
    bool mousePressed(Control& control, QWidget& target, QMouseEvent& event);
    bool mouseReleased(Control& control, QMouseEvent& event);
    // A double-click on an entry of a list: true when the list took it.
    bool mouseDoubleClicked(Control& control, QWidget& target, QMouseEvent& event);
    bool keyPressed(Control& control, QObject& watched, QKeyEvent& event);
    // The text box's selection follows its widget's (no event runs).
    void followSelection(TextBox& box);
    bool listKey(ListBox& list, QWidget& widget, const QKeyEvent& event, int keyAscii);

    // ControlObserver / FormObserver
    void propertyChanged(Control& control, Property property) override;
    void formCaptionChanged(Form& form) override;
    void formClosed(Form& form) override;

    Form& form_;
    HandlerGuard& guard_;
    bool live_;
    bool modeless_ = false;
    QEventLoop* loop_ = nullptr;
    std::map<const Control*, QWidget*> widgets_;
    // Widgets and viewports that report to a control.
    QHash<QObject*, Control*> watched_;
    // Shift state of the last mouse or key event, for the click that follows.
    Qt::KeyboardModifiers lastModifiers_;
    bool reinjecting_ = false;
};

}  // namespace ui::qt
