#include "app/SheetWindow.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "render/SheetView.h"

namespace app {

void ShowSheetFullScreen(const office::ShownSheet& sheet, const std::string& title) {
    QDialog dialog;
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* view = new render::SheetView(sheet, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    view->setFocus();
    // Esc rejects a dialog by itself, Alt+F4 closes the window: both come back here.
    // Without a window manager full screen means nothing: the size is set too.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) dialog.setGeometry(screen->geometry());
    dialog.showFullScreen();
    dialog.exec();
}

}  // namespace app
