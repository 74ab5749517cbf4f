#include "groups/UserForm00.h"

#include "core/Text.h"
#include "groups/QuickSortList.h"
#include "groups/Uninstall.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "store/LineRows.h"
#include "text/CaseFold.h"

namespace groups {

UserForm00::UserForm00(core::Context& ctx) : ui::Form("UserForm00"), ctx_(ctx) {
    layOut();
    ListBox1.onClick = [this] { ListBox1_Click(); };
    CommandButton1.onClick = [this] { CommandButton1_Click(); };
    CommandButton2.onClick = [this] { CommandButton2_Click(); };
    CommandButton3.onClick = [this] { CommandButton3_Click(); };
    CommandButton4.onClick = [this] { CommandButton4_Click(); };
    CommandButton5.onClick = [this] { CommandButton5_Click(); };
    CommandButton6.onClick = [this] { CommandButton6_Click(); };
    CommandButton7.onClick = [this] { CommandButton7_Click(); };
    CommandButton8.onMouseUp = [this](int button, int shift, double x, double y) {
        CommandButton8_MouseUp(button, shift, x, y);
    };
}

void UserForm00::layOut() {
    clientWidth = 763.5;
    clientHeight = 557.3;
    font = ui::Font{"Tahoma", 8.25};

    ListBox1.setGeometry(73.3, 90, 328.4, 249.4);
    ListBox1.setFont(ui::Font{"Courier New", 10});
    ListBox1.matchFirstLetter = true;
    ListBox1.setTabIndex(0);

    struct ButtonPlace {
        ui::CommandButton& button;
        double left, top;
        const char* caption;
        int tab;
    };
    const ButtonPlace buttons[] = {
        {CommandButton1, 432, 90, "New", 1},
        {CommandButton2, 432, 120, "Update", 2},
        {CommandButton3, 432, 150, "Delete", 3},
        {CommandButton6, 432, 180, "Copy", 4},
        {CommandButton5, 432, 210, "Create the Presentation ", 5},
        {CommandButton7, 432, 282, "Help", 6},
        {CommandButton4, 432, 312, "Exit", 7},
        {CommandButton8, 72, 366, "Uninstall", 9},
    };
    for (const ButtonPlace& place : buttons) {
        place.button.setGeometry(place.left, place.top, 100, 30);
        place.button.setFont(ui::Font{"Tahoma", 8.25});
        place.button.setCaption(place.caption);
        place.button.setTabIndex(place.tab);
    }

    Label1.setGeometry(78, 72, 234, 18);
    Label1.setFont(ui::Font{"Tahoma", 10, true});
    Label1.setCaption("Presentation Group ");
    Label1.setTabIndex(8);
}

void UserForm00::setTexts() {
    setCaption(ctx_.state.TitleText);

    ListBox1.setToolTip("It will be the Presentation title and the first part of the Presentation filename");
    CommandButton1.setToolTip("Create new 'Presentation Group'");
    CommandButton2.setToolTip("Update selected 'Presentation Group'");
    CommandButton3.setToolTip("Delete selected 'Presentation Group'");
    CommandButton5.setToolTip("Create the Presentation");
    CommandButton6.setToolTip("Make a copy of selected 'Presentation Group'");
    CommandButton8.setToolTip("Ctrl+Alt+Click: uninstall");

    if (!ctx_.state.italian()) return;
    CommandButton1.setCaption("Nuovo");
    CommandButton2.setCaption("Modifica");
    CommandButton3.setCaption("Elimina");
    CommandButton5.setCaption("Crea la Presentazione");
    CommandButton6.setCaption("Copia");
    CommandButton8.setCaption("Disinstalla");

    ListBox1.setToolTip("Sara' il titolo della Presentazione e la prima parte del nome del file");
    CommandButton1.setToolTip("Crea un nuovo 'Presentation Group'");
    CommandButton2.setToolTip("Modifica il 'Presentation Group' selezionato");
    CommandButton3.setToolTip("Elimina il 'Presentation Group' selezionato");
    CommandButton5.setToolTip("Crea la Presentazione");
    CommandButton6.setToolTip("Crea una copia del 'Presentation Group' selezionato");
    CommandButton8.setToolTip("Ctrl+Alt+Click: disinstalla");
}

void UserForm00::UserForm_Initialize() {
    // Whatever a probe left in the shared slots is dropped, not closed.
    ctx_.state.ProbedPresentation.reset();
    ctx_.state.ProbedDocument.reset();
    setTexts();
    guarded([&] {
        store::OpenBaseWorkbook(ctx_);
        CarLista();
        store::CloseBaseWorkbookDiscard(ctx_);
    });
}

// Closing by the close box needs nothing: no workbook is open between commands.
void UserForm00::UserForm_QueryClose(int&, ui::CloseMode) {}

void UserForm00::CarLista() {
    ListBox1.Clear();
    // Room for a full table at once, touched only as far as it fills: grown
    // by doubling, ten thousand names would be copied into fresh memory at
    // every step, three times what they hold.
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(store::kLastLineRow - store::kFirstLineRow + 1));
    auto& data = *ctx_.state.DataSheet;
    store::ForEachLine(data, store::kColGroup, [&](long, std::span<const automation::Variant> cells) {
        std::string group = core::Trim(cells[1].toText());
        if (!group.empty()) names.push_back(std::move(group));
        return true;
    });

    // Sorted and freed of duplicates before they go into the list, which then
    // fills at once: the same entries as sorting and removing in the list.
    // Of a run of equal names the last one stays. Equal keys mean equal
    // folded names, so spellings that differ only in case always meet there.
    ListBox1.SetItems(SortedWithoutDuplicates(names));

    if (ctx_.state.SelectedGroup.empty()) return;
    for (int k = 0; k < ListBox1.ListCount(); ++k) {
        if (text::equalsIgnoringCase(ListBox1.List(k), ctx_.state.SelectedGroup)) {
            ListBox1.SetListIndex(k);
            return;
        }
    }
}

void UserForm00::ListBox1_Click() {
    if (ListBox1.ListIndex() >= 0) ctx_.state.SelectedGroup = core::Trim(ListBox1.Value());
}

void UserForm00::CommandButton8_MouseUp(int button, int shift, double, double) {
    UninstallButtonMouseUp(ctx_, *this, button, shift);
}

void UserForm00::Uninstall() { groups::Uninstall(ctx_, *this); }

}  // namespace groups
