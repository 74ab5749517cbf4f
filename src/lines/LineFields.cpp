// The fields of one line: loading a clicked line, what each field does when
// the user changes it, the number boxes' check and the checks before a save.
#include <cmath>

#include "core/Text.h"
#include "lines/Us_Menu.h"
#include "probe/DocumentProbe.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "store/LineRows.h"
#include "text/CaseFold.h"
#include "text/LocaleNumber.h"
#include "text/Utf.h"

namespace lines {

using automation::Variant;

namespace {

const char* const kExclusionItems[] = {"", "Display/Print", "Display", "Print"};
const char* const kExclusionCodes[] = {"", "S", "V", "P"};

double numberOf(const Variant& value) { return value.isNumeric() ? value.toNumber() : 0; }

std::string upper(const std::string& text) { return core::UpperAscii(text); }

// A cell holds at most this many UTF-16 units; a longer text would be cut when written.
constexpr std::size_t kMaxCellUnits = 32767;

}  // namespace

bool Us_Menu::lineLoaded() const { return ctx_.state.LineEditMode == "M" || ctx_.state.LineEditMode == "V"; }

void Us_Menu::selectExclusion(const std::string& code) {
    ListBox3.SetListIndex(-1);
    for (int i = 0; i < 4; ++i)
        if (text::equalsIgnoringCase(code, kExclusionCodes[i]) && i < ListBox3.ListCount()) ListBox3.SetListIndex(i);
}

void Us_Menu::ListBox1_MouseUp(int, int, double, double) {
    core::AppState& state = ctx_.state;
    if (ListBox1.ListIndex() < 0) return;
    Frame3.setVisible(true);
    if (state.BuildInProgress) return;
    state.LineEditMode = "M";
    for (ui::Control* control : {static_cast<ui::Control*>(&ListBox2), static_cast<ui::Control*>(&ListBox3),
                                 static_cast<ui::Control*>(&TextBox1), static_cast<ui::Control*>(&TextBox2),
                                 static_cast<ui::Control*>(&TextBox3), static_cast<ui::Control*>(&TextBox4),
                                 static_cast<ui::Control*>(&TextBox5), static_cast<ui::Control*>(&TextBox6)})
        control->setBackColor(std::nullopt);
    const int i = ListBox1.ListIndex();
    if (core::Trim(ListBox1.List(i)).empty()) return;
    Frame3.setCaption(ctx_.tr("Update line", "Modifica riga"));

    const std::int32_t id = static_cast<std::size_t>(i) < state.LineIds.size() ? state.LineIds[static_cast<std::size_t>(i)] : 0;
    bool found = false;
    try {
        store::OpenBaseWorkbook(ctx_);
        auto& data = *state.DataSheet;
        auto cell = data.GetRange("A:A")->Find(Variant(id), automation::excel::FindLookIn::Values,
                                               automation::excel::LookAt::Whole);
        if (cell) {
            found = true;
            const long row = cell->Row();
            core::LineRecord& line = state.CurrentLine;
            line.LineId = data.Cells(row, store::kColId)->Value();
            line.ExclusionCode = core::Trim(data.Cells(row, store::kColExclusion)->Value().toText());
            line.Description = core::Trim(data.Cells(row, store::kColDescription)->Value().toText());
            line.FileName = core::Trim(data.Cells(row, store::kColFileName)->Value().toText());
            line.SheetName = core::Trim(data.Cells(row, store::kColInputSheet)->Value().toText());
            line.OutSheetName = core::Trim(data.Cells(row, store::kColOutputSheet)->Value().toText());
            line.ObjectName = core::Trim(data.Cells(row, store::kColObjectName)->Value().toText());
            line.FromPage = data.Cells(row, store::kColFirstPage)->Value();
            line.ToPage = data.Cells(row, store::kColLastPage)->Value();
            line.SortNumber = data.Cells(row, store::kColSort)->Value();
        } else {
            // Another user removed it, or the sheet was edited: say so and
            // show the lines as they are now.
            LoadGroupLines(0);
        }
        store::CloseBaseWorkbookDiscard(ctx_);
    } catch (const automation::AutomationError&) {
        store::CloseBaseWorkbookDiscard(ctx_);  // an error while loading ends the handler quietly
        return;
    }
    if (!found) {
        state.LineEditMode.clear();
        Frame3.setVisible(false);
        ctx_.msgBox(ctx_.tr("The line is no longer in the base workbook: another user may have changed it.\r"
                            "The list now shows the lines as they are.",
                            "La riga non e' piu' nel file base: forse un altro utente l'ha cambiata.\r"
                            "La lista mostra ora le righe come sono."));
        return;
    }

    const core::LineRecord& line = state.CurrentLine;
    selectExclusion(line.ExclusionCode);
    TextBox3.setText(line.Description);
    TextBox1.setText(line.FileName);
    TextBox1.setToolTip(line.FileName);
    TextBox2.setText(line.OutSheetName);
    TextBox5.setText(line.FromPage.toText());
    TextBox6.setText(line.ToPage.toText());
    TextBox4.setText(line.SortNumber.toText());
    ListBox2.setBackColor(std::nullopt);
    TextBox1.setBackColor(std::nullopt);
    if (!state.FileSystem->FileExists(line.FileName)) {
        markRed(TextBox1);
        Frame1.setVisible(false);
        Frame2.setVisible(false);
        ctx_.msgBox(line.FileName + "\r" + ctx_.tr(" Does not exist!", " Non esiste!"));
    } else {
        state.LineEditMode = "V";
        probe::ProbeLineFile(ctx_, *this, line.FileName);
    }
    TextBox3.setFocus();
}

void Us_Menu::ListBox2_AfterUpdate() {
    ctx_.state.CurrentLine.SheetName = core::Trim(ListBox2.Value());
    Frame2.setCaption("Excel   (Sheet Name: " + ctx_.state.CurrentLine.SheetName + ")");
}

void Us_Menu::ListBox2_MouseMove(int, int, double, double) {
    if (ListBox2.backColor() == ui::kRed) ListBox2.setBackColor(std::nullopt);
}

void Us_Menu::Listbox3_AfterUpdate() {
    const int i = ListBox3.ListIndex();
    ctx_.state.CurrentLine.ExclusionCode = i >= 0 && i < 4 ? kExclusionCodes[i] : "";
}

void Us_Menu::TextBox2_AfterUpdate() {
    TextBox2.setBackColor(std::nullopt);
    ctx_.state.CurrentLine.OutSheetName = core::Trim(TextBox2.text());
}

void Us_Menu::TextBox3_AfterUpdate() { ctx_.state.CurrentLine.Description = core::Trim(TextBox3.text()); }

void Us_Menu::TextBox4_AfterUpdate() {
    CheckedField = &TextBox4;
    CheckNumericField(ctx_.state.CurrentLine.SortNumber, 4);
}

void Us_Menu::TextBox5_AfterUpdate() {
    core::AppState& state = ctx_.state;
    CheckedField = &TextBox5;
    CheckNumericField(state.CurrentLine.FromPage, 5);
    if (state.FieldErrors[5] != 1 && numberOf(state.CurrentLine.FromPage) > numberOf(state.MaxPageCount)) {
        markRed(TextBox5);
        ctx_.msgBox(ctx_.tr("'From' > max value!", "'Da' > valore massimo."));
        state.FieldErrors[5] = 1;
    }
}

void Us_Menu::TextBox6_AfterUpdate() {
    core::AppState& state = ctx_.state;
    CheckedField = &TextBox6;
    CheckNumericField(state.CurrentLine.ToPage, 6);
    if (state.FieldErrors[6] != 1 && numberOf(state.CurrentLine.ToPage) > numberOf(state.MaxPageCount)) {
        markRed(TextBox6);
        ctx_.msgBox(ctx_.tr("'To' > max value!", "'A' > valore massimo."));
        state.FieldErrors[6] = 1;
    }
}

void Us_Menu::CheckNumericField(Variant& value, int flag) {
    const std::string typed = core::Trim(CheckedField->text());
    CheckedField->setBackColor(std::nullopt);
    ctx_.state.FieldErrors[static_cast<std::size_t>(flag)] = 0;
    if (typed.empty()) {
        value = 0;
    } else if (const auto number = text::userNumbers().read(typed)) {
        // Halves round up; the box shows the whole number ("###": empty for 0).
        const double whole = std::floor(*number + 0.5);
        value = whole;
        CheckedField->setText(whole == 0 ? std::string() : automation::formatGeneralNumber(whole));
    } else {
        value = typed;
        markRed(*CheckedField);
        ctx_.state.FieldErrors[static_cast<std::size_t>(flag)] = 1;
    }
    if (typed.empty()) CheckedField->setText("");
}

bool Us_Menu::checkOutputSheetName() {
    const std::string& name = ctx_.state.CurrentLine.OutSheetName;
    std::string complaint;
    if (text::characterCount(name) > 31)
        complaint = ctx_.tr(". Longer than 31 characters!", ". Piu' lungo di 31 caratteri!");
    else if (name.find_first_of(":\\/?*[]") != std::string::npos)
        complaint = ctx_.tr(". A sheet name cannot contain : \\ / ? * [ ]", ". Un nome di foglio non puo' contenere : \\ / ? * [ ]");
    else if (name.front() == '\'' || name.back() == '\'')
        complaint = ctx_.tr(". A sheet name cannot begin or end with an apostrophe!",
                            ". Un nome di foglio non puo' iniziare o finire con un apostrofo!");
    if (complaint.empty()) return true;
    markRed(TextBox2);
    ctx_.msgBox(name + complaint);
    return false;
}

bool Us_Menu::validateForSave() {
    core::AppState& state = ctx_.state;
    core::LineRecord& line = state.CurrentLine;
    if (!state.FileSystem->FileExists(line.FileName)) {
        markRed(TextBox1);
        ctx_.msgBox(line.FileName + "\r" + ctx_.tr(" Does not exist!", " Non esiste!"));
        return false;
    }
    int errors = 0;
    for (int flag : state.FieldErrors) errors += flag;
    if (errors != 0) {
        ctx_.msgBox(ctx_.tr("Correct the errors!", "Correggere gli errori!"));
        return false;
    }
    const std::string kind = upper(store::FileExtension(line.FileName));
    if (kind == "XLS") {
        if (ListBox2.ListIndex() < 0) {
            markRed(ListBox2);
            ctx_.msgBox(ctx_.tr("Input sheet not selected!", "Foglio input non selezionato!"));
            return false;
        }
        if (line.OutSheetName.empty()) {
            markRed(TextBox2);
            ctx_.msgBox(ctx_.tr("Output sheet not filled!", "Foglio output non inserito!"));
            return false;
        }
        if (text::equalsIgnoringCase(line.OutSheetName, "START") || text::equalsIgnoringCase(line.OutSheetName, "DATA")) {
            markRed(TextBox2);
            ctx_.msgBox(line.OutSheetName + ctx_.tr(". Not allowed name!", ". Nome non permesso!"));
            return false;
        }
        if (!checkOutputSheetName()) return false;
    } else if (kind == "DOC" || kind == "PPT") {
        const double from = numberOf(line.FromPage), to = numberOf(line.ToPage), most = numberOf(state.MaxPageCount);
        if (from > most) {
            markRed(TextBox5);
            ctx_.msgBox(ctx_.tr("'From' > max value!", "'Da' > valore massimo."));
            return false;
        }
        if (to > most) {
            markRed(TextBox6);
            ctx_.msgBox(ctx_.tr("'To' > max value!", "'A' > valore massimo."));
            return false;
        }
        if (from > to) {
            markRed(TextBox5);
            markRed(TextBox6);
            ctx_.msgBox(ctx_.tr("'From' > 'To'!", "'Da' > 'A'!"));
            return false;
        }
    }
    const double sort = numberOf(line.SortNumber);
    if (sort < 100 || sort > 999) {
        markRed(TextBox4);
        ctx_.msgBox(ctx_.tr("Sort number out its limits (100-999)!", "Sequenza fuori dai limiti (100-999)!"));
        return false;
    }

    if (text::utf8ToUtf16(line.Description).size() > kMaxCellUnits) {
        markRed(TextBox3);
        ctx_.msgBox(ctx_.tr("The description is longer than 32767 characters, the most a cell holds!",
                            "La descrizione supera 32767 caratteri, il massimo di una cella!"));
        return false;
    }

    store::OpenBaseWorkbook(ctx_);
    auto& data = *state.DataSheet;
    // Another line of the group with the same output sheet would make the
    // build give two sheets one name.
    if (kind == "XLS") {
        bool used = false;
        const std::string ownId = line.LineId.toText();
        store::ForEachLine(data, store::kColGroup, [&](long row, std::span<const Variant> cells) {
            if (cells[0].toText() == ownId || !text::equalsIgnoringCase(cells[1].toText(), state.SelectedGroup))
                return true;
            used = text::equalsIgnoringCase(core::Trim(data.Cells(row, store::kColOutputSheet)->Value().toText()),
                                            line.OutSheetName);
            return !used;
        });
        if (used) {
            store::CloseBaseWorkbookDiscard(ctx_);
            markRed(TextBox2);
            ctx_.msgBox(line.OutSheetName + ctx_.tr(". Already used by another line of this group!",
                                                    ". Gia' usato da un'altra riga di questo gruppo!"));
            return false;
        }
    }
    auto sortColumn = data.GetRange("K:K");
    auto first = sortColumn->Find(line.SortNumber, automation::excel::FindLookIn::Values, automation::excel::LookAt::Whole);
    if (first) {
        const std::string firstAddress = first->Address();
        for (auto found = first; found;) {
            const long row = found->Row();
            if (text::equalsIgnoringCase(data.Cells(row, store::kColGroup)->Value().toText(), state.SelectedGroup) &&
                data.Cells(row, store::kColId)->Value().toText() != line.LineId.toText()) {
                markRed(TextBox4);
                store::CloseBaseWorkbookDiscard(ctx_);
                ctx_.msgBox(ctx_.tr("Sort number already exists!", "N. Sequenza gia' esistente!"));
                return false;
            }
            found = sortColumn->FindNext(*found);
            if (found && found->Address() == firstAddress) break;
        }
    }
    return true;
}

}  // namespace lines
