// The commands on a Presentation Group: New, Update, Delete, Copy, Help, Exit.
#include "core/Text.h"
#include "groups/UserForm00.h"
#include "startup/HelpWindow.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "store/LineRows.h"
#include "store/LineTable.h"
#include "text/CaseFold.h"
#include "text/Utf.h"

namespace groups {

using automation::AutomationError;

namespace {
constexpr std::size_t kMaxGroupNameLength = 50;
}  // namespace

void UserForm00::guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const AutomationError& error) {
        store::FatalError(ctx_, error);
    }
}

bool UserForm00::selectionCheck() {
    if (ListBox1.ListCount() == 0) return false;
    if (ctx_.state.SelectedGroup.empty() || ListBox1.ListIndex() < 0) {
        ctx_.msgBox(ctx_.tr("Select a GroupName!", "Selezionare un GroupName"));
        return false;
    }
    return true;
}

std::optional<std::string> UserForm00::askGroupName(const std::string& defaultText) {
    std::string prompt = ctx_.tr("Fill in with new GroupName!", "Inserisci un nuovo GroupName!");
    std::string suggestion = defaultText;
    for (;;) {
        std::string answer = core::Trim(ctx_.windows.inputBox(prompt, suggestion));
        suggestion = answer;
        if (answer.empty()) return std::nullopt;
        if (core::HasForbiddenNameCharacter(answer)) {
            prompt = ctx_.tr("A Groupname does not contains the following characters: \\/:*?\"<>|",
                             "Un GroupName non puo' contenere i seguenti caratteri: \\/:*?\"<>|");
        } else if (text::characterCount(answer) > kMaxGroupNameLength) {
            prompt = ctx_.tr("Greater than 50 characters!", "Maggiore di 50 caratteri!");
        } else {
            return answer;
        }
    }
}

bool UserForm00::reportDuplicate(const std::string& name) {
    for (int k = 0; k < ListBox1.ListCount(); ++k) {
        if (text::equalsIgnoringCase(core::Trim(ListBox1.List(k)), name)) {
            ctx_.msgBox(name + ctx_.tr(". Already exists!", ". Gia' esistente!"));
            return true;
        }
    }
    return false;
}

std::vector<long> UserForm00::rowsOfGroup(const std::string& group) {
    std::vector<long> rows;
    auto& data = *ctx_.state.DataSheet;
    store::ForEachLine(data, store::kColGroup, [&](long row, std::span<const automation::Variant> cells) {
        if (text::equalsIgnoringCase(core::Trim(cells[1].toText()), group)) rows.push_back(row);
        return true;
    });
    return rows;
}

void UserForm00::reloadAfter(const std::string& message) {
    CarLista();
    store::CloseBaseWorkbookDiscard(ctx_);
    ctx_.msgBox(message);
}

void UserForm00::reportGroupGone() {
    reloadAfter(ctx_.tr("The group '", "Il gruppo '") + ctx_.state.SelectedGroup +
                ctx_.tr("' is no longer in the base workbook: another user may have deleted it.\rThe list now "
                        "shows the groups as they are.",
                        "' non e' piu' nel file base: forse un altro utente l'ha eliminato.\rLa lista mostra ora i "
                        "gruppi come sono."));
}

void UserForm00::handOverToLineEditor(const std::string& mode) {
    ctx_.state.GroupEditMode = mode;
    lineEditorRequested_ = true;
    Unload();
}

// New
void UserForm00::CommandButton1_Click() {
    guarded([&] {
        auto name = askGroupName("");
        if (!name) return;
        // Taken only once accepted: a refused name must not become the group
        // the other commands act on while the list shows another.
        if (reportDuplicate(*name)) return;
        ctx_.state.SelectedGroup = *name;
        handOverToLineEditor("I");
    });
}

// Update
void UserForm00::CommandButton2_Click() {
    guarded([&] {
        if (!selectionCheck()) return;
        handOverToLineEditor("M");
    });
}

// Delete
void UserForm00::CommandButton3_Click() {
    guarded([&] {
        if (!selectionCheck()) return;
        if (!ctx_.windows.askYesNo(ctx_.tr("Do you confirm?", "Confermi?"), false)) return;

        store::OpenBaseWorkbook(ctx_);
        // The workbook, not the list loaded earlier, says what there is:
        // another user may have deleted the group meanwhile.
        const std::vector<long> rows = rowsOfGroup(ctx_.state.SelectedGroup);
        if (rows.empty()) return reportGroupGone();
        auto& data = *ctx_.state.DataSheet;
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) data.Rows(*row)->Delete();  // bottom up: rows move up
        store::SaveAndCloseBaseWorkbook(ctx_);

        ListBox1.RemoveItem(ListBox1.ListIndex());
        ctx_.state.SelectedGroup = ListBox1.Value();  // nothing is selected now
        store::ShowDone(ctx_, CommandButton3, ctx_.tr("Delete", "Elimina"));
    });
}

// Exit
void UserForm00::CommandButton4_Click() { Unload(); }

// Copy
void UserForm00::CommandButton6_Click() {
    guarded([&] {
        if (!selectionCheck()) return;
        auto name = askGroupName(ctx_.state.SelectedGroup);
        if (!name) return;
        if (reportDuplicate(*name)) return;

        store::OpenBaseWorkbook(ctx_);
        // The list may be older than the workbook, which the lock now keeps
        // still: another user may have made the name or deleted the group.
        if (!rowsOfGroup(*name).empty())
            return reloadAfter(*name + ctx_.tr(". Already exists!", ". Gia' esistente!"));
        const std::vector<long> rows = rowsOfGroup(ctx_.state.SelectedGroup);
        if (rows.empty()) return reportGroupGone();
        auto& data = *ctx_.state.DataSheet;
        long target = store::NewLineRow(data);  // the first empty row after the table
        if (!store::TableHasRoom(target, static_cast<long>(rows.size()))) {
            store::CloseBaseWorkbookDiscard(ctx_);
            return ctx_.msgBox(store::TableFullMessage(ctx_));
        }
        store::LineIdAllocator ids(data);
        for (long row : rows) {
            const double id = ids.next(data.Cells(target - 1, store::kColId)->Value());
            data.Rows(row)->Copy(*data.Rows(target));
            data.Cells(target, store::kColId)->SetValue(id);
            data.Cells(target, store::kColGroup)->SetValue(*name);
            ++target;
        }
        ctx_.state.SelectedGroup = *name;
        CarLista();
        store::SaveAndCloseBaseWorkbook(ctx_);
        store::ShowDone(ctx_, CommandButton6, ctx_.tr("Copy", "Copia"));
    });
}

// Help
void UserForm00::CommandButton7_Click() { startup::ShowHelp(ctx_); }

}  // namespace groups
