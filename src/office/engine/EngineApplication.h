#pragma once
// The Application and its Workbooks collection. Destroying the application
// without Quit ends it the same way: unsaved changes are dropped, locks freed.
#include <memory>

#include "automation/Excel.h"
#include "office/engine/EngineVbe.h"
#include "office/engine/WorkbookCore.h"

namespace office::engine {

class EngineApplication final : public automation::excel::Application {
public:
    EngineApplication();
    ~EngineApplication() override;

    automation::excel::Workbooks& GetWorkbooks() override;
    std::shared_ptr<automation::excel::Workbook> ActiveWorkbook() override;
    std::shared_ptr<automation::excel::Worksheet> ActiveSheet() override;
    std::shared_ptr<automation::excel::Window> ActiveWindow() override;
    double InchesToPoints(double inches) const override;
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool DisplayAlerts() const override;
    void SetDisplayAlerts(bool display) override;
    automation::vbe::VBE& GetVBE() override;
    void Quit() override;
    // The lock file beside the workbook.
    std::vector<std::string> CompanionFiles(const std::string& path) const override;

    // Shared with every object of this instance (tests shorten the lock wait through it).
    const std::shared_ptr<ApplicationState>& state() const { return state_; }

private:
    class EngineWorkbooks final : public automation::excel::Workbooks {
    public:
        explicit EngineWorkbooks(std::shared_ptr<ApplicationState> state) : state_(std::move(state)) {}
        // A missing file raises 1004 "'<path>' could not be found. ...". Unless
        // asked for read-only, the workbook is locked for writing; when another
        // holder keeps the lock past the wait, it opens read-only instead.
        // Opening a workbook that is open already gives that workbook.
        std::shared_ptr<automation::excel::Workbook> Open(const std::string& path,
                                                          const automation::excel::OpenOptions& options = {}) override;
        // A new workbook with one empty worksheet "Sheet1", named "BookN" until saved.
        std::shared_ptr<automation::excel::Workbook> Add() override;
        long Count() const override;

    private:
        std::shared_ptr<ApplicationState> state_;
    };

    std::shared_ptr<ApplicationState> state_;
    EngineWorkbooks workbooks_;
    EngineVbe vbe_;
    bool visible_ = false;
    bool displayAlerts_ = true;
};

}  // namespace office::engine
