#include "groups/MainWindow.h"

#include "groups/UserForm00.h"

namespace groups {

void RunMainWindow(core::Context& ctx) {
    for (;;) {
        bool editorNext = false;
        {
            UserForm00 form(ctx);
            ctx.windows.showModal(form);
            editorNext = form.lineEditorRequested();
        }
        if (!editorNext) return;
        ctx.seams.showLineEditor(ctx);
    }
}

}  // namespace groups
