// The line's file: chosen through the chooser and probed at once (a key or
// a click in the locked file box), or opened for a look (Alt+click).
#include "core/Text.h"
#include "lines/Us_Menu.h"
#include "probe/DocumentProbe.h"
#include "startup/Form1.h"
#include "store/BaseWorkbook.h"

namespace lines {

void Us_Menu::FindFiles() {
    core::AppState& state = ctx_.state;
    state.ChooserMode = "FIL";
    state.ChooserPattern = "";
    state.ChooserCaption = "Find:";
    startup::ShowChooser(ctx_, state.CurrentLine.FileName);
    if (state.ChooserResult.empty()) return;
    // Only the file changes: description, sort number and exclusion stay.
    state.CurrentLine.FileName = state.ChooserResult;
    TextBox1.setText(state.CurrentLine.FileName);
    TextBox1.setToolTip(state.CurrentLine.FileName);
    TextBox1.setBackColor(std::nullopt);
    probe::ProbeLineFile(ctx_, *this, state.CurrentLine.FileName);
}

void Us_Menu::TextBox1_KeyPress(int& keyAscii) {
    keyAscii = 0;  // the box is locked: the key only opens the chooser
    FindFiles();
}

void Us_Menu::TextBox1_MouseUp(int, int shift, double, double) {
    if (shift == ui::kAltMask) {
        viewLineFile();
        return;
    }
    FindFiles();
}

// The page boxes say pages or slides, by the kind of the line's file; for
// other kinds their frame is hidden and the tips stay as they are.
void Us_Menu::TextBox1_Change() {
    const std::string kind = core::UpperAscii(store::FileExtension(ctx_.state.CurrentLine.FileName));
    if (kind == "DOC") {
        TextBox5.setToolTip(ctx_.tr("Starting page of the Word document to include in the output Presentation (0 for all)",
                                    "Pagina iniziale del documento Word da includere nella Presentazione di output (0 per tutte)"));
        TextBox6.setToolTip(ctx_.tr("Ending page of the Word document to include in the output Presentation",
                                    "Pagina finale del documento Word da includere nella Presentazione di output"));
    } else if (kind == "PPT") {
        TextBox5.setToolTip(
            ctx_.tr("Starting slide of the PowerPoint presentation to include in the output Presentation (0 for all)",
                    "Slide iniziale della presentazione PowerPoint da includere nella Presentazione di output (0 per tutte)"));
        TextBox6.setToolTip(
            ctx_.tr("Ending slide of the PowerPoint presentation to include in the output Presentation",
                    "Slide finale della presentazione PowerPoint da includere nella Presentazione di output"));
    }
}

// The desktop opens the file with the program it associates with the
// file's kind: a workbook in the user's spreadsheet program, which runs on
// its own. A missing file, or a desktop that cannot open it, does nothing.
void Us_Menu::viewLineFile() {
    const std::string& fileName = ctx_.state.CurrentLine.FileName;
    if (!ctx_.state.FileSystem->FileExists(fileName)) return;
    try {
        ctx_.platform.OpenWithAssociatedProgram(fileName);
    } catch (const automation::AutomationError&) {
    }
}

}  // namespace lines
