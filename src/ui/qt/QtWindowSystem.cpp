#include "ui/qt/QtWindowSystem.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWindow>
#include <cstdlib>
#include <stdexcept>

#include "ui/qt/Conversions.h"
#include "ui/qt/FontSetup.h"
#include "ui/qt/FormWindow.h"

namespace ui::qt {

QtWindowSystem::QtWindowSystem() {
    installFormFonts();
    // One look on every desktop: Fusion honours the forms' colours, and the
    // boxes use the forms' default font.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setFont(toQFont(ui::Font{}));
    if (const char* pdf = std::getenv("TAVOLEX_PRINT_TO_PDF"); pdf && *pdf) printToPdf_ = pdf;
}

QtWindowSystem::~QtWindowSystem() {
    for (const QPointer<FormWindow>& window : modeless_) delete window.data();
}

void QtWindowSystem::setLanguage(const std::string& languageCode) { italian_ = languageCode == "I"; }

QString QtWindowSystem::yesText() const { return italian_ ? QStringLiteral("Sì") : QStringLiteral("Yes"); }
QString QtWindowSystem::noText() const { return QStringLiteral("No"); }
QString QtWindowSystem::okText() const { return QStringLiteral("OK"); }
QString QtWindowSystem::cancelText() const { return italian_ ? QStringLiteral("Annulla") : QStringLiteral("Cancel"); }

QWidget* QtWindowSystem::topWindow() const { return shown_.empty() ? nullptr : shown_.back(); }

QWidget* QtWindowSystem::modelessOnTop() const {
    for (auto it = modeless_.rbegin(); it != modeless_.rend(); ++it)
        if (*it && (*it)->isVisible()) return it->data();
    return nullptr;
}

QWidget* QtWindowSystem::windowOf(const Form& form) const {
    for (FormWindow* window : shown_)
        if (&window->form() == &form) return window;
    for (const QPointer<FormWindow>& window : modeless_)
        if (window && window->isVisible() && &window->form() == &form) return window.data();
    return nullptr;
}

void QtWindowSystem::showModeless(Form& form) {
    form.ensureLoaded();
    if (!form.loaded() || form.showing()) return;
    std::erase_if(modeless_, [](const QPointer<FormWindow>& window) { return window.isNull(); });
    auto* window = new FormWindow(form, guard_, nullptr, true);
    window->makeModeless();
    modeless_.emplace_back(window);
    form.markShowing(true);
    guard_.run([&] { window->present(); });
}

void QtWindowSystem::showModal(Form& form) {
    form.ensureLoaded();
    if (!form.loaded()) return;  // the load event unloaded it again
    if (form.showing()) throw std::logic_error("form " + form.name() + " is already shown");

    FormWindow window(form, guard_, topWindow(), true);
    // A first modal form stays in front of the modeless ones: the window
    // manager keeps a transient window over the one it belongs to.
    if (!topWindow())
        if (QWidget* behind = modelessOnTop(); behind && behind->windowHandle()) {
            window.winId();
            if (QWindow* handle = window.windowHandle()) handle->setTransientParent(behind->windowHandle());
        }
    QEventLoop loop;
    window.setLoop(&loop);
    shown_.push_back(&window);
    form.markShowing(true);
    struct Restore {
        QtWindowSystem& self;
        Form& form;
        FormWindow& window;
        ~Restore() {
            const HandlerGuard::Quiet quiet(self.guard_);
            form.markShowing(false);
            window.hide();
            self.shown_.pop_back();
        }
    } restore{*this, form, window};

    guard_.run([&] { window.present(); });
    guard_.exec(loop, [&] { return form.showing(); });
}

void QtWindowSystem::doEvents() { guard_.processEvents(); }

}  // namespace ui::qt
