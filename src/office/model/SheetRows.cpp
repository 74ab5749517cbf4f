#include "office/model/SheetRows.h"

namespace office {

std::uint32_t SheetRows::width(std::uint32_t row) const {
    if (row == 0 || row > rows_.size()) return 0;
    if (undecoded(row)) return pending_->width(row);
    return static_cast<std::uint32_t>(rows_[row - 1].cells.size());
}

const RowDef* SheetRows::row(std::uint32_t row) const {
    if (row == 0 || row > rows_.size()) return nullptr;
    if (undecoded(row)) decodeRow(row);
    return &rows_[row - 1];
}

RowDef& SheetRows::rowAt(std::uint32_t row) {
    if (rows_.size() < row) rows_.resize(row);
    if (undecoded(row)) decodeRow(row);
    return rows_[row - 1];
}

std::optional<Cell> SheetRows::peek(std::uint32_t row, std::uint32_t column) const {
    if (row == 0 || column == 0 || row > rows_.size()) return std::nullopt;
    const RowDef& def = rows_[row - 1];
    if (undecoded(row)) return pending_->peek(row, column, def);
    if (column > def.cells.size()) return std::nullopt;
    return def.cells[column - 1];
}

void SheetRows::defer(std::shared_ptr<const PendingCells> pending) {
    decodeAll();
    if (!pending || rows_.empty()) return;
    pending_ = std::move(pending);
    undecoded_.assign(rows_.size(), 1);
    undecodedLeft_ = static_cast<std::uint32_t>(rows_.size());
}

void SheetRows::decodeRow(std::uint32_t row) const {
    RowDef& def = rows_[row - 1];
    def.cells.clear();
    pending_->decode(row, def);
    undecoded_[row - 1] = 0;
    if (--undecodedLeft_ == 0) forget();
}

void SheetRows::decodeRemaining() const {
    for (std::uint32_t row = 1; row <= undecoded_.size(); ++row)
        if (undecoded_[row - 1]) rows_[row - 1].cells.clear();
    pending_->decodeAll(rows_, undecoded_);
    forget();
}

void SheetRows::forget() const {
    pending_.reset();
    undecoded_ = {};
    undecodedLeft_ = 0;
}

}  // namespace office
