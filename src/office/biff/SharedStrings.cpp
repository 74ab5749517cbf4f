#include "office/biff/SharedStrings.h"

#include <string>

namespace office::biff {

void SharedStrings::make(std::uint32_t index) const {
    std::string text;
    table_->seek(starts_[index]);
    table_->readString(text);
    texts_[index] = CellText(text);
    made_[index] = 1;
}

}  // namespace office::biff
