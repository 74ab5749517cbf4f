#include "store/BaseWorkbook.h"

namespace store {

namespace {
// The open password of every base workbook; it also locks the macro project
// of every Presentation. Changing it makes existing base workbooks unreadable.
constexpr const char* kBasePassword = "tv1957";
}  // namespace

void InitFixedSettings(core::AppState& state) {
    state.BaseFileName = "BasePresentation.xls";
    state.BasePassword = kBasePassword;
}

}  // namespace store
