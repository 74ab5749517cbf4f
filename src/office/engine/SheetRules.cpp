#include "office/engine/SheetRules.h"

#include "text/CaseFold.h"
#include "text/Utf.h"

namespace office::engine {

void checkSheetName(const WorkbookModel& model, const std::string& name, std::optional<std::size_t> index) {
    std::size_t length = text::characterCount(name);
    if (length == 0) raise("A sheet name cannot be empty.");
    if (length > kMaxSheetNameLength)
        raise("The sheet name '" + name + "' is longer than 31 characters.");
    if (name.find_first_of("[]:*?/\\") != std::string::npos)
        raise("The sheet name '" + name + "' contains one of the characters [ ] : * ? / \\, which sheet names cannot hold.");
    if (name.front() == '\'' || name.back() == '\'')
        raise("The sheet name '" + name + "' cannot begin or end with an apostrophe.");
    for (std::size_t i = 0; i < model.sheets.size(); ++i)
        if (i != index && text::equalsIgnoringCase(model.sheets[i].name, name))
            raise("The sheet name '" + name + "' is already taken. Try a different one.");
}

std::string defaultSheetName(const WorkbookModel& model) {
    for (int n = 1;; ++n) {
        std::string candidate = "Sheet" + std::to_string(n);
        bool taken = false;
        for (const SheetModel& sheet : model.sheets) taken = taken || text::equalsIgnoringCase(sheet.name, candidate);
        if (!taken) return candidate;
    }
}

namespace {
bool shown(const SheetModel& sheet) {
    return sheet.visibility == SheetVisibility::Visible && sheet.kind != SheetKind::VbModule;
}
}  // namespace

std::size_t visibleSheetCount(const WorkbookModel& model) {
    std::size_t count = 0;
    for (const SheetModel& sheet : model.sheets) count += shown(sheet) ? 1 : 0;
    return count;
}

void moveActiveSheetAwayFrom(WorkbookModel& model, std::size_t index) {
    auto pick = [&]() -> std::size_t {
        for (std::size_t i = index + 1; i < model.sheets.size(); ++i)
            if (shown(model.sheets[i])) return i;
        for (std::size_t i = index; i-- > 0;)
            if (shown(model.sheets[i])) return i;
        return 0;
    };
    if (model.activeSheet == index) model.activeSheet = static_cast<std::uint16_t>(pick());
    if (model.firstVisibleTab == index) model.firstVisibleTab = model.activeSheet < index ? model.activeSheet : 0;
}

void checkStructureUnprotected(const WorkbookModel& model) {
    if (model.protection.structure) raise("The workbook is protected and its sheets cannot be changed.");
}

}  // namespace office::engine
