#include "lines/Placeholders.h"

#include "core/Text.h"
#include "lines/Us_Menu.h"
#include "store/BaseWorkbook.h"

namespace lines {

void PlaceholderFindFiles(core::Context& ctx, ui::Form& form) {
    auto& editor = dynamic_cast<Us_Menu&>(form);
    core::AppState& state = ctx.state;
    const std::string path = core::Trim(ctx.windows.inputBox(
        ctx.tr("Choosing a file from a list is not available in this version yet.\rType the full path of the "
               "line's file:",
               "La scelta di un file da una lista non e' ancora disponibile in questa versione.\rScrivere il "
               "percorso completo del file della riga:"),
        state.CurrentLine.FileName));
    if (path.empty()) return;
    state.CurrentLine.FileName = path;
    editor.TextBox1.setText(path);
    editor.TextBox1.setToolTip(path);
    editor.TextBox1.setBackColor(std::nullopt);
    if (ctx.seams.probeLineFile) ctx.seams.probeLineFile(ctx, editor, path);
}

void PlaceholderFileBoxMouseUp(core::Context& ctx, ui::Form& editor, int, int shift) {
    if (shift == ui::kAltMask) {
        ctx.msgBox(ctx.tr("Opening the line's file to look at it is not available in this version yet.",
                          "L'apertura del file della riga per vederlo non e' ancora disponibile in questa versione."));
        return;
    }
    PlaceholderFindFiles(ctx, editor);
}

void PlaceholderProbeLineFile(core::Context& ctx, ui::Form& form, const std::string& fileName) {
    auto& editor = dynamic_cast<Us_Menu&>(form);
    core::AppState& state = ctx.state;
    const std::string kind = core::UpperAscii(store::FileExtension(fileName));
    editor.Frame2.setVisible(kind == "XLS");
    editor.Frame1.setVisible(kind == "DOC" || kind == "PPT");
    if (kind == "XLS") {
        // The line's own sheet is the only one known without looking into the file.
        editor.Frame2.setCaption("Excel   (Sheet Name: " + state.CurrentLine.SheetName + ")");
        editor.ListBox2.SetItems(state.CurrentLine.SheetName.empty()
                                     ? std::vector<std::string>{}
                                     : std::vector<std::string>{state.CurrentLine.SheetName});
        if (editor.ListBox2.ListCount() > 0) editor.ListBox2.SetListIndex(0);
        editor.Label5.setCaption(ctx.tr("Sheet list not available yet", "Elenco fogli non ancora disponibile"));
    } else if (kind == "DOC" || kind == "PPT") {
        // Without a page count every range is taken as it is typed.
        state.MaxPageCount = 32767;
        editor.Label10.setCaption(ctx.tr("From", "Da"));
        editor.Label11.setCaption(ctx.tr("To", "A"));
        editor.Frame1.setCaption(ctx.tr("Pages not counted yet", "Pagine non ancora contate"));
    }
}

}  // namespace lines
