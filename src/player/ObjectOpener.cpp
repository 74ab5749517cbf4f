#include "player/ObjectOpener.h"

#include <filesystem>

#include "automation/AutomationError.h"
#include "automation/Variant.h"

namespace player {

namespace fs = std::filesystem;

namespace {

std::string pageNumber(double page) { return automation::formatGeneralNumber(page); }

}  // namespace

ObjectOpener::ObjectOpener(core::Context& ctx, const PresentationFile& file) : ctx_(ctx), file_(file) {}

void ObjectOpener::show(const PresentationLine& line) {
    auto object = file_.workbook()->Worksheets("DATA")->OLEObjects(line.objectName);
    // The line's own file name tells the desktop its kind; each copy has a folder of its own.
    std::string name = fs::path(line.fileName).filename().string();
    if (name.empty()) name = "object." + line.kind();
    const std::string path = folder_.newSubfolder() + "/" + name;
    PrivateFolder::writeFile(path, object->FileBytes());
    ctx_.platform.OpenWithAssociatedProgram(path);

    if (line.firstPage <= 0) return;
    const std::string from = pageNumber(line.firstPage);
    const std::string to = pageNumber(line.lastPage);
    if (line.kind() == "PPT")
        ctx_.msgBox(ctx_.tr("This line shows slides " + from + " to " + to + " of the presentation.",
                            "Questa riga mostra le diapositive da " + from + " a " + to + " della presentazione."));
    else
        ctx_.msgBox(ctx_.tr("This line shows pages " + from + " to " + to + " of the document.",
                            "Questa riga mostra le pagine da " + from + " a " + to + " del documento."));
}

}  // namespace player
