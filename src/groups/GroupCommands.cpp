// The commands on a Presentation Group: New, Update, Delete, Copy, Help, Exit.
#include "core/Text.h"
#include "groups/UserForm00.h"
#include "startup/HelpWindow.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
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

void UserForm00::showDone(ui::CommandButton& button, const std::string& caption) {
    const auto color = button.backColor();
    button.setBackColor(ui::kGreen);
    button.setCaption("OK");
    ctx_.state.WaitTime = 0.5;
    store::WaitSeconds(ctx_);
    button.setBackColor(color);
    button.setCaption(caption);
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
        ctx_.state.SelectedGroup = *name;
        if (reportDuplicate(*name)) return;
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
        auto& data = *ctx_.state.DataSheet;
        for (long row = store::kFirstLineRow; row <= store::kLastLineRow;) {
            if (core::Trim(data.Cells(row, store::kColId)->Value().toText()).empty()) break;
            const std::string group = core::Trim(data.Cells(row, store::kColGroup)->Value().toText());
            if (text::equalsIgnoringCase(group, ctx_.state.SelectedGroup))
                data.Rows(row)->Delete();  // the next line moved up into this row
            else
                ++row;
        }
        store::SaveAndCloseBaseWorkbook(ctx_);

        ListBox1.RemoveItem(ListBox1.ListIndex());
        if (ListBox1.ListCount() > 0) ctx_.state.SelectedGroup = ListBox1.Value();
        showDone(CommandButton3, ctx_.tr("Delete", "Elimina"));
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
        auto& data = *ctx_.state.DataSheet;
        for (long row = store::kFirstLineRow; row <= store::kLastLineRow; ++row) {
            if (core::Trim(data.Cells(row, store::kColId)->Value().toText()).empty()) break;
            const std::string group = core::Trim(data.Cells(row, store::kColGroup)->Value().toText());
            if (!text::equalsIgnoringCase(group, ctx_.state.SelectedGroup)) continue;

            // The first empty row after the table; the scan reaches the copies
            // later, but they carry the new name and are left alone.
            const long target = data.GetRange("A1")->End(automation::excel::Direction::Down)->Row() + 1;
            const automation::Variant above = data.Cells(target - 1, store::kColId)->Value();
            const double id = above.isNumeric() ? above.toNumber() + 1 : 1;
            data.Rows(row)->Copy(*data.Rows(target));
            data.Cells(target, store::kColId)->SetValue(id);
            data.Cells(target, store::kColGroup)->SetValue(*name);
        }
        ctx_.state.SelectedGroup = *name;
        CarLista();
        store::SaveAndCloseBaseWorkbook(ctx_);
        showDone(CommandButton6, ctx_.tr("Copy", "Copia"));
    });
}

// Help
void UserForm00::CommandButton7_Click() { startup::ShowHelp(ctx_); }

}  // namespace groups
