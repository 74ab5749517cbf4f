#include "office/engine/EngineWindow.h"

#include <cmath>
#include <string>

namespace office::engine {

namespace excel = automation::excel;

SheetWindow& EngineWindow::window() const {
    core_->checkUsable();
    WorkbookModel& model = core_->model;
    if (model.activeSheet >= model.sheets.size()) raise("The window shows no sheet.");
    return model.sheets[model.activeSheet].window;
}

excel::WindowState EngineWindow::GetWindowState() const {
    core_->checkUsable();
    return core_->windowState;
}

void EngineWindow::SetWindowState(excel::WindowState state) {
    core_->checkUsable();
    switch (state) {
    case excel::WindowState::Maximized:
    case excel::WindowState::Minimized:
    case excel::WindowState::Normal:
        core_->windowState = state;
        return;
    }
    raise("Unable to set the WindowState property of the Window class: " + std::to_string(static_cast<int>(state)) +
          " is no window state.");
}

double EngineWindow::Zoom() const { return window().zoom; }

void EngineWindow::SetZoom(double percent) {
    if (!std::isfinite(percent) || percent < 10 || percent > 400)
        raise("Unable to set the Zoom property of the Window class: the zoom must be between 10 and 400 percent.");
    window().zoom = static_cast<std::uint16_t>(std::lround(percent));
}

bool EngineWindow::DisplayGridlines() const { return window().showGridlines; }
void EngineWindow::SetDisplayGridlines(bool display) { window().showGridlines = display; }
bool EngineWindow::DisplayHeadings() const { return window().showHeadings; }
void EngineWindow::SetDisplayHeadings(bool display) { window().showHeadings = display; }

}  // namespace office::engine
