#include "app/FrozenSheet.h"

#include "office/XlsFile.h"
#include "office/model/WorkbookModel.h"
#include "text/CaseFold.h"

namespace app {

std::optional<FrozenSheet> ReadFrozenSheet(const std::string& path, const std::string& name) {
    const office::WorkbookModel model = office::readXlsFile(path, "");
    for (const office::SheetModel& sheet : model.sheets)
        if (text::equalsIgnoringCase(sheet.name, name)) return FrozenSheet{office::ShowSheet(model, sheet), sheet.pageSetup};
    return std::nullopt;
}

}  // namespace app
