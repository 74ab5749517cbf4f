#pragma once
// A range handle: its worksheet handle and the block's bounds. Every call goes
// through the worksheet to the model, so a range sees later edits and raises
// once its workbook is closed.
#include <functional>
#include <memory>

#include "automation/Excel.h"
#include "office/engine/CellAddress.h"
#include "office/engine/EngineWorksheet.h"

namespace office::engine {

class EngineRange final : public automation::excel::Range {
public:
    EngineRange(std::shared_ptr<EngineWorksheet> sheet, RangeBounds bounds)
        : sheet_(std::move(sheet)), bounds_(bounds), font_(*this) {}

    long Row() const override;
    long Column() const override;
    std::string Address() const override;
    automation::Variant Value() const override;
    void SetValue(const automation::Variant& value) override;
    automation::excel::ValueBlock Values() const override;
    std::shared_ptr<Range> Find(const automation::Variant& what, automation::excel::FindLookIn lookIn,
                                automation::excel::LookAt lookAt) override;
    std::shared_ptr<Range> FindNext(const Range& after) override;
    std::shared_ptr<Range> End(automation::excel::Direction direction) override;
    void Delete() override;
    void Copy(Range& destination) override;
    void Copy() override;
    // Values (formulas become their last values, formats stay) or all (values
    // and formats) of the cells on the clipboard. Raises 1004 when the
    // clipboard holds no cells or this sheet's cells are protected.
    void PasteSpecial(automation::excel::PasteType paste) override;
    void Select() override;
    bool Hidden() const override;
    void SetHidden(bool hidden) override;
    double Left() const override;
    double Top() const override;
    double Width() const override;
    double Height() const override;
    automation::excel::Font& GetFont() override { return font_; }
    automation::excel::Worksheet& Parent() override;
    void SetHorizontalAlignment(automation::excel::HAlign align) override;
    void SetVerticalAlignment(automation::excel::VAlign align) override;
    void SetWrapText(bool wrap) override;
    void SetBorderLineStyle(automation::excel::LineStyle style) override;
    void SetRowHeight(double points) override;
    void SetColumnWidth(double characters) override;
    // Raises 1004 when the key lies outside the range or the sheet's cells are protected.
    void Sort(const Range& key, bool header) override;

    EngineWorksheet& worksheet() const { return *sheet_; }
    const RangeBounds& bounds() const { return bounds_; }
    // Pastes the clipboard's cells here.
    void pasteCells(automation::excel::PasteType paste);

private:
    class RangeFont final : public automation::excel::Font {
    public:
        explicit RangeFont(EngineRange& range) : range_(range) {}
        bool Bold() const override;
        void SetBold(bool bold) override;
        automation::excel::Underline GetUnderline() const override;
        void SetUnderline(automation::excel::Underline underline) override;
        double Size() const override;
        void SetSize(double points) override;

    private:
        EngineRange& range_;
    };

    // The range's cells that can hold anything: whole columns end at the last
    // row in use, whole rows at the last column in use.
    RangeBounds usedPart() const;
    // Rejects operations on blocks too large to hold in memory cell by cell.
    void checkBlockSize() const;
    std::shared_ptr<Range> searchAfter(std::uint32_t row, std::uint32_t column);
    const FontDef& topLeftFont() const;
    void changeFont(const std::function<void(FontDef&)>& change);
    // Gives every cell of the range (whole rows and columns their own format
    // too) a format changed by `change`.
    void changeXf(const std::function<void(XfDef&)>& change);

    std::shared_ptr<EngineWorksheet> sheet_;
    RangeBounds bounds_;
    RangeFont font_;
};

}  // namespace office::engine
