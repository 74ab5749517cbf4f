#include "office/biff/SharedStrings.h"

#include <string>

namespace office::biff {

void SharedStrings::make(std::uint32_t index) const {
    table_->seek(starts_[index]);
    std::string_view ascii;
    if (table_->readAsciiInPlace(ascii)) {
        texts_[index] = CellText(ascii);
    } else {
        std::string text;
        table_->readString(text);
        texts_[index] = CellText(text);
    }
    made_[index] = 1;
}

std::string_view SharedStrings::view(std::uint32_t index) const {
    if (!made_.empty() && !made_[index]) {
        table_->seek(starts_[index]);
        std::string_view ascii;
        if (table_->readAsciiInPlace(ascii)) return ascii;
        make(index);
    }
    return texts_[index].view();
}

}  // namespace office::biff
