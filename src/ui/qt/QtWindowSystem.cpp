#include "ui/qt/QtWindowSystem.h"

#include <QApplication>
#include <QStyleFactory>
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

QtWindowSystem::~QtWindowSystem() = default;

void QtWindowSystem::setLanguage(const std::string& languageCode) { italian_ = languageCode == "I"; }

QString QtWindowSystem::yesText() const { return italian_ ? QStringLiteral("Sì") : QStringLiteral("Yes"); }
QString QtWindowSystem::noText() const { return QStringLiteral("No"); }
QString QtWindowSystem::okText() const { return QStringLiteral("OK"); }
QString QtWindowSystem::cancelText() const { return italian_ ? QStringLiteral("Annulla") : QStringLiteral("Cancel"); }

QWidget* QtWindowSystem::topWindow() const { return shown_.empty() ? nullptr : shown_.back(); }

QWidget* QtWindowSystem::windowOf(const Form& form) const {
    for (FormWindow* window : shown_)
        if (&window->form() == &form) return window;
    return nullptr;
}

void QtWindowSystem::showModal(Form& form) {
    form.ensureLoaded();
    if (!form.loaded()) return;  // the load event unloaded it again
    if (form.showing()) throw std::logic_error("form " + form.name() + " is already shown");

    FormWindow window(form, guard_, topWindow(), true);
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
