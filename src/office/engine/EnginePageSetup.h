#pragma once
// A worksheet's page setup as Excel's PageSetup object shows it: margins in
// points (the model keeps inches, as the file does).
#include "automation/Excel.h"
#include "office/engine/SheetHandle.h"

namespace office::engine {

class EnginePageSetup final : public automation::excel::PageSetup {
public:
    explicit EnginePageSetup(const SheetHandle& sheet) : sheet_(sheet) {}

    double LeftMargin() const override;
    void SetLeftMargin(double points) override;
    double RightMargin() const override;
    void SetRightMargin(double points) override;
    double TopMargin() const override;
    void SetTopMargin(double points) override;
    double BottomMargin() const override;
    void SetBottomMargin(double points) override;
    double HeaderMargin() const override;
    void SetHeaderMargin(double points) override;
    double FooterMargin() const override;
    void SetFooterMargin(double points) override;
    long Zoom() const override;
    // 10..400 percent; it ends fitting the sheet to pages. Others raise 1004.
    void SetZoom(long percent) override;
    bool CenterHorizontally() const override;
    void SetCenterHorizontally(bool center) override;
    bool CenterVertically() const override;
    void SetCenterVertically(bool center) override;
    automation::excel::PageOrientation Orientation() const override;
    void SetOrientation(automation::excel::PageOrientation orientation) override;

private:
    office::PageSetup& setup() const { return sheet_.sheet().pageSetup; }
    void setMargin(double office::PageSetup::*margin, double points, const char* what);
    const SheetHandle& sheet_;
};

}  // namespace office::engine
