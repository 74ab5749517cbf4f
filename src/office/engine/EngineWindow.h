#pragma once
// The window of a workbook: its state, and the zoom, gridlines and headings
// of its active sheet.
#include <memory>

#include "automation/Excel.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

class EngineWindow final : public automation::excel::Window {
public:
    explicit EngineWindow(std::shared_ptr<WorkbookCore> core) : core_(std::move(core)) {}

    automation::excel::WindowState GetWindowState() const override;
    void SetWindowState(automation::excel::WindowState state) override;
    double Zoom() const override;
    // 10..400 percent; others raise 1004.
    void SetZoom(double percent) override;
    bool DisplayGridlines() const override;
    void SetDisplayGridlines(bool display) override;
    bool DisplayHeadings() const override;
    void SetDisplayHeadings(bool display) override;

private:
    SheetWindow& window() const;
    std::shared_ptr<WorkbookCore> core_;
};

}  // namespace office::engine
