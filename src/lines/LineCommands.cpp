// The commands on lines: Save, Insert new line, Duplicate line, Delete line,
// and the one routine that writes a line's row.
#include "core/Text.h"
#include "lines/Us_Menu.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "store/LineTable.h"

namespace lines {

using automation::Variant;

void Us_Menu::reportLineGone(const std::string& id) {
    store::CloseBaseWorkbookDiscard(ctx_);
    ctx_.msgBox(id + "\r" + ctx_.tr(" Does not exist!", " Non esiste!") + "\r" +
                ctx_.tr("Another user may have removed the line; nothing was written.",
                        "Forse un altro utente ha eliminato la riga; non e' stato scritto nulla."));
}

// Save
void Us_Menu::CommandButton1_Click() {
    guarded([&] {
        core::AppState& state = ctx_.state;
        if (!validateForSave()) return;
        if (state.LineEditMode == "I" &&
            !ctx_.windows.askYesNo(ctx_.tr("Do you confirm?", "Confermi l'inserimento?"), false)) {
            store::CloseBaseWorkbookDiscard(ctx_);
            return;
        }
        if (!WriteCurrentLine()) return;
        store::ShowDone(ctx_, CommandButton1, ctx_.tr("Save", "Salva"));
        if (state.LineEditMode == "I") {
            state.LineEditMode = "M";
            Frame3.setCaption(ctx_.tr("Update line", "Modifica riga"));
        }
    });
}

// Insert new line
void Us_Menu::CommandButton5_Click() {
    core::AppState& state = ctx_.state;
    ListBox1.SetListIndex(-1);
    TextBox1.setToolTip(ctx_.tr("Fill in with a filename", "Inserisci un nome di file"));
    Frame3.setCaption(CommandButton5.caption());
    for (ui::TextBox* box : {&TextBox1, &TextBox2, &TextBox3, &TextBox4, &TextBox5, &TextBox6}) box->setText("");
    TextBox1.setBackColor(std::nullopt);
    TextBox4.setBackColor(std::nullopt);
    state.CurrentLine = core::LineRecord{0, "", "", "", "", "", "", 0, 0, 0};  // id 0: not saved yet
    ListBox2.Clear();
    ListBox3.SetListIndex(-1);
    Frame3.setVisible(true);
    Frame1.setVisible(false);
    Frame2.setVisible(false);
    TextBox3.setFocus();
    state.LineEditMode = "I";
}

// Duplicate line
void Us_Menu::CommandButton6_Click() {
    core::AppState& state = ctx_.state;
    if (ListBox1.ListIndex() < 0) {
        ctx_.msgBox(ctx_.tr("Select a line!", "Selezionare una riga!"));
        return;
    }
    // The fields must show the line this acts on: one clicked in this visit.
    if (!lineLoaded()) {
        ctx_.msgBox(ctx_.tr("Click the line first: its fields are not shown.",
                            "Cliccare prima la riga: i suoi campi non sono mostrati."));
        return;
    }
    Frame3.setCaption(CommandButton6.caption());
    ListBox1.SetListIndex(-1);
    state.CurrentLine.LineId = 0;
    TextBox4.setText("");
    TextBox4.setBackColor(std::nullopt);
    state.CurrentLine.SortNumber = 0;
    TextBox3.setFocus();
    state.LineEditMode = "I";
}

// Delete line
void Us_Menu::CommandButton2_Click() {
    guarded([&] {
        core::AppState& state = ctx_.state;
        if (ListBox1.ListIndex() < 0) {
            ctx_.msgBox(ctx_.tr("Select a line!", "Selezionare una riga!"));
            return;
        }
        if (!lineLoaded()) {
            ctx_.msgBox(ctx_.tr("Click the line first: its fields are not shown.",
                                "Cliccare prima la riga: i suoi campi non sono mostrati."));
            return;
        }
        if (!ctx_.windows.askYesNo(ctx_.tr("Do you confirm?", "Confermi?"), false)) return;
        state.LineEditMode = "C";
        Frame3.setVisible(false);
        store::OpenBaseWorkbook(ctx_);
        if (!WriteCurrentLine()) return;
        store::ShowDone(ctx_, CommandButton2, ctx_.tr("Delete line", "Elimina riga"));
    });
}

bool Us_Menu::WriteCurrentLine() {
    core::AppState& state = ctx_.state;
    core::LineRecord& line = state.CurrentLine;
    auto& data = *state.DataSheet;
    long row = 0;
    if (auto found = data.GetRange("A:A")->Find(line.LineId, automation::excel::FindLookIn::Values,
                                                automation::excel::LookAt::Whole))
        row = found->Row();
    const std::string& mode = state.LineEditMode;
    if (mode != "I" && row == 0) {
        reportLineGone(line.LineId.toText());
        return false;
    }
    if (mode == "C") {
        data.Rows(row)->Delete();
    } else {
        if (mode == "I") {
            row = store::NewLineRow(data);
            if (!store::TableHasRoom(row)) {
                store::CloseBaseWorkbookDiscard(ctx_);
                ctx_.msgBox(store::TableFullMessage(ctx_));
                return false;
            }
            line.LineId = store::LineIdAllocator(data).next(data.Cells(row - 1, store::kColId)->Value());
        }
        const std::string kind = core::UpperAscii(store::FileExtension(line.FileName));
        if (kind == "XLS") {
            line.FromPage = Variant();
            line.ToPage = Variant();
        } else if (kind == "DOC" || kind == "PPT") {
            line.SheetName.clear();
            line.OutSheetName.clear();
        } else {
            line.FromPage = Variant();
            line.ToPage = Variant();
            line.SheetName.clear();
            line.OutSheetName.clear();
            // Files the Presentation cannot print are never printed.
            const std::string forced = line.ExclusionCode.empty() ? "P" : line.ExclusionCode == "V" ? "S" : "";
            if (!forced.empty()) {
                line.ExclusionCode = forced;
                selectExclusion(forced);
                ctx_.msgBox(ctx_.tr("'Exclusion from' was changed...", "'Esclusione da' e' stata cambiata..."));
            }
        }
        const Variant values[] = {line.LineId,       state.SelectedGroup, line.ExclusionCode, line.Description,
                                  line.FileName,     line.SheetName,      line.OutSheetName,  line.ObjectName,
                                  line.FromPage,     line.ToPage,         line.SortNumber};
        for (long column = 1; column <= 11; ++column) {
            const Variant& value = values[column - 1];
            data.Cells(row, column)->SetValue(value.isText() && value.text().empty() ? Variant() : value);
        }
    }
    const Variant id = mode == "C" ? Variant(0) : line.LineId;
    LoadGroupLines(id.isNumeric() ? static_cast<std::int32_t>(id.toNumber()) : 0);
    store::SaveAndCloseBaseWorkbook(ctx_);
    return true;
}

}  // namespace lines
