#include "office/model/SheetRows.h"

#include <algorithm>

namespace office {

const std::vector<RowDef>& SheetRows::noRows() {
    static const std::vector<RowDef> none;
    return none;
}

std::vector<RowDef>& SheetRows::own() const {
    if (!rows_)
        rows_ = std::make_shared<std::vector<RowDef>>();
    else if (rows_.use_count() > 1)
        rows_ = std::make_shared<std::vector<RowDef>>(*rows_);
    return *rows_;
}

std::uint32_t SheetRows::width(std::uint32_t row) const {
    const std::vector<RowDef>& rows = view();
    if (row == 0 || row > rows.size()) return 0;
    if (undecoded(row)) return pending_->width(sources_[row - 1]);
    return static_cast<std::uint32_t>(rows[row - 1].cells.size());
}

const RowDef* SheetRows::row(std::uint32_t row) const {
    if (row == 0 || row > view().size()) return nullptr;
    if (undecoded(row)) decodeRow(row);
    return &view()[row - 1];
}

RowDef& SheetRows::rowAt(std::uint32_t row) {
    std::vector<RowDef>& rows = own();
    if (rows.size() < row) rows.resize(row);
    if (undecoded(row)) decodeRow(row);
    return rows[row - 1];
}

std::optional<Cell> SheetRows::peek(std::uint32_t row, std::uint32_t column) const {
    const std::vector<RowDef>& rows = view();
    if (row == 0 || column == 0 || row > rows.size()) return std::nullopt;
    const RowDef& def = rows[row - 1];
    if (undecoded(row)) return pending_->peek(sources_[row - 1], column, def);
    if (column > def.cells.size()) return std::nullopt;
    return def.cells[column - 1];
}

void SheetRows::peekValues(std::uint32_t row, std::uint32_t first, std::span<automation::Variant> out) const {
    const std::vector<RowDef>& rows = view();
    if (row == 0 || first == 0 || row > rows.size()) return std::fill(out.begin(), out.end(), automation::Variant());
    const RowDef& def = rows[row - 1];
    if (undecoded(row)) return pending_->peekValues(sources_[row - 1], first, def, out);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t column = first + i;
        out[i] = column <= def.cells.size() ? def.cells[column - 1].value.toVariant() : automation::Variant();
    }
}

void SheetRows::defer(std::shared_ptr<const PendingCells> pending) {
    decodeAll();
    const std::size_t rows = view().size();
    if (!pending || rows == 0) return;
    pending_ = std::move(pending);
    sources_.resize(rows);
    for (std::size_t i = 0; i < rows; ++i) sources_[i] = static_cast<std::uint32_t>(i + 1);
    undecodedLeft_ = static_cast<std::uint32_t>(rows);
}

void SheetRows::erase(std::uint32_t first, std::uint32_t last) {
    const std::uint32_t held = count();
    if (first == 0 || first > held || last < first) return;
    last = std::min(last, held);
    std::vector<RowDef>& rows = own();
    rows.erase(rows.begin() + (first - 1), rows.begin() + last);
    // Rows grown since the read have no source.
    if (!pending_ || first > sources_.size()) return;
    const auto end = sources_.begin() + std::min<std::size_t>(last, sources_.size());
    undecodedLeft_ -= static_cast<std::uint32_t>(std::count_if(sources_.begin() + (first - 1), end, [](std::uint32_t s) { return s != 0; }));
    sources_.erase(sources_.begin() + (first - 1), end);
    if (undecodedLeft_ == 0) forget();
}

void SheetRows::decodeRow(std::uint32_t row) const {
    RowDef& def = own()[row - 1];
    def.cells.clear();
    pending_->decode(sources_[row - 1], def);
    sources_[row - 1] = 0;
    if (--undecodedLeft_ == 0) forget();
}

void SheetRows::decodeRemaining() const {
    std::vector<RowDef>& rows = own();
    for (std::uint32_t row = 1; row <= sources_.size(); ++row)
        if (sources_[row - 1]) rows[row - 1].cells.clear();
    pending_->decodeAll(rows, sources_);
    forget();
}

void SheetRows::forget() const {
    pending_.reset();
    sources_ = {};
    undecodedLeft_ = 0;
}

}  // namespace office
