#include "lines/LineEditorPlaceholder.h"

namespace lines {

void LineEditorPlaceholder(core::Context& ctx) {
    ctx.msgBox(ctx.tr("The line editor is not available in this version: the lines of '",
                      "L'editor delle righe non e' disponibile in questa versione: le righe di '") +
               ctx.state.SelectedGroup + ctx.tr("' cannot be edited yet.", "' non sono ancora modificabili."));
}

}  // namespace lines
