#include "lines/Us_Menu.h"

#include "store/BaseWorkbook.h"

namespace lines {

Us_Menu::Us_Menu(core::Context& ctx) : ui::Form("Us_Menu"), ctx_(ctx) {
    layOut();
    connectHandlers();
}

void Us_Menu::layOut() {
    clientWidth = 560;
    clientHeight = 440;
    font = ui::Font{"Tahoma", 8.25};
    const ui::Font tahoma{"Tahoma", 8.25};
    for (ui::Control* control : controls()) control->setFont(tahoma);

    Label3.setGeometry(12, 6, 400, 20);
    Label3.setFont(ui::Font{"Tahoma", 12, true});
    ListBox1.setGeometry(12, 30, 400, 150);
    ListBox1.setFont(ui::Font{"Courier New", 10});
    ListBox1.matchFirstLetter = false;
    CommandButton5.setGeometry(424, 30, 124, 26);
    CommandButton6.setGeometry(424, 60, 124, 26);
    CommandButton2.setGeometry(424, 90, 124, 26);
    CommandButton3.setGeometry(424, 138, 124, 26);

    Frame3.setGeometry(12, 188, 536, 244);
    for (ui::Control* inside : {static_cast<ui::Control*>(&Label7), static_cast<ui::Control*>(&TextBox3), static_cast<ui::Control*>(&Label4),
                                static_cast<ui::Control*>(&TextBox1), static_cast<ui::Control*>(&Label9), static_cast<ui::Control*>(&TextBox4),
                                static_cast<ui::Control*>(&Label8), static_cast<ui::Control*>(&ListBox3), static_cast<ui::Control*>(&CommandButton1),
                                static_cast<ui::Control*>(&Frame2), static_cast<ui::Control*>(&Frame1)})
        inside->setContainer(&Frame3);
    Label7.setGeometry(6, 4, 300, 12);
    TextBox3.setGeometry(6, 18, 310, 18);
    Label4.setGeometry(6, 42, 300, 12);
    TextBox1.setGeometry(6, 56, 310, 18);
    Label9.setGeometry(332, 4, 190, 12);
    TextBox4.setGeometry(332, 18, 60, 18);
    Label8.setGeometry(332, 42, 100, 12);
    ListBox3.setGeometry(332, 56, 100, 54);
    CommandButton1.setGeometry(442, 56, 80, 26);

    Frame2.setGeometry(6, 116, 252, 112);
    for (ui::Control* inside : {static_cast<ui::Control*>(&Label5), static_cast<ui::Control*>(&ListBox2),
                                static_cast<ui::Control*>(&Label6), static_cast<ui::Control*>(&TextBox2)})
        inside->setContainer(&Frame2);
    Label5.setGeometry(6, 4, 110, 12);
    ListBox2.setGeometry(6, 18, 118, 80);
    ListBox2.matchFirstLetter = false;
    Label6.setGeometry(130, 4, 116, 12);
    TextBox2.setGeometry(130, 18, 114, 18);

    Frame1.setGeometry(264, 116, 114, 112);
    for (ui::Control* inside : {static_cast<ui::Control*>(&Label10), static_cast<ui::Control*>(&TextBox5),
                                static_cast<ui::Control*>(&Label11), static_cast<ui::Control*>(&TextBox6)})
        inside->setContainer(&Frame1);
    Label10.setGeometry(6, 4, 100, 12);
    TextBox5.setGeometry(6, 18, 50, 18);
    Label11.setGeometry(6, 44, 100, 12);
    TextBox6.setGeometry(6, 58, 50, 18);

    // The list, the field frame from top to bottom, then the commands.
    int tab = 0;
    for (ui::Control* control : {static_cast<ui::Control*>(&ListBox1), static_cast<ui::Control*>(&TextBox3),
                                 static_cast<ui::Control*>(&TextBox1), static_cast<ui::Control*>(&TextBox4),
                                 static_cast<ui::Control*>(&ListBox3), static_cast<ui::Control*>(&CommandButton1),
                                 static_cast<ui::Control*>(&ListBox2), static_cast<ui::Control*>(&TextBox2),
                                 static_cast<ui::Control*>(&TextBox5), static_cast<ui::Control*>(&TextBox6),
                                 static_cast<ui::Control*>(&CommandButton5), static_cast<ui::Control*>(&CommandButton2),
                                 static_cast<ui::Control*>(&CommandButton3), static_cast<ui::Control*>(&CommandButton6)})
        control->setTabIndex(tab++);

    CommandButton5.setCaption("Insert new line");
    CommandButton6.setCaption("Duplicate line");
    CommandButton2.setCaption("Delete line");
    CommandButton3.setCaption("Exit");
    Label7.setCaption("Line Description");
    Label4.setCaption("FileName (Alt+Click to see)");
    Label9.setCaption("Sort Number (100 - 999)");
    Label8.setCaption("Exclusion from:");
    CommandButton1.setCaption("Save");
    Frame2.setCaption("Excel");
    Label5.setCaption("Sheet Names");
    Label6.setCaption("Out Sheet Name");
}

void Us_Menu::connectHandlers() {
    ListBox1.onMouseUp = [this](int b, int s, double x, double y) { ListBox1_MouseUp(b, s, x, y); };
    ListBox2.onAfterUpdate = [this] { ListBox2_AfterUpdate(); };
    ListBox2.onMouseMove = [this](int b, int s, double x, double y) { ListBox2_MouseMove(b, s, x, y); };
    ListBox3.onAfterUpdate = [this] { Listbox3_AfterUpdate(); };
    TextBox2.onAfterUpdate = [this] { TextBox2_AfterUpdate(); };
    TextBox3.onAfterUpdate = [this] { TextBox3_AfterUpdate(); };
    TextBox4.onAfterUpdate = [this] { TextBox4_AfterUpdate(); };
    TextBox5.onAfterUpdate = [this] { TextBox5_AfterUpdate(); };
    TextBox6.onAfterUpdate = [this] { TextBox6_AfterUpdate(); };
    TextBox1.onKeyPress = [this](int& key) { TextBox1_KeyPress(key); };
    TextBox1.onMouseUp = [this](int b, int s, double x, double y) { TextBox1_MouseUp(b, s, x, y); };
    TextBox1.onChange = [this] { TextBox1_Change(); };
    CommandButton1.onClick = [this] { CommandButton1_Click(); };
    CommandButton5.onClick = [this] { CommandButton5_Click(); };
    CommandButton6.onClick = [this] { CommandButton6_Click(); };
    CommandButton2.onClick = [this] { CommandButton2_Click(); };
    CommandButton3.onClick = [this] { CommandButton3_Click(); };
}

void Us_Menu::setTexts() {
    setCaption(ctx_.state.TitleText);
    const bool inserting = ctx_.state.GroupEditMode == "I";
    Label3.setCaption((inserting ? ctx_.tr("Insert New Presentation Group: ", "Inserimento Nuova Presentation Group: ")
                                 : ctx_.tr("Update Presentation Group: ", "Modifica Presentation Group: ")) +
                      ctx_.state.SelectedGroup);

    ListBox1.setToolTip(ctx_.tr("Click: update line", "Click: modifica riga"));
    ListBox2.setToolTip(ctx_.tr("Select a sheet to include in the output Presentation",
                                "Seleziona un foglio da includere nella Presentazione di output"));
    TextBox2.setToolTip(ctx_.tr("Fill in with a name for the sheet in the output Presentation",
                                "Inserisci un nome per il foglio nella Presentazione di output"));
    TextBox3.setToolTip(ctx_.tr("Fill in with a description. It will appear in the 'Presentation Menu'",
                                "Inserisci una descrizione. Apparira' nel 'Presentation Menu'"));
    ListBox3.setToolTip(ctx_.tr("In the 'Presentation Menu' the line will be excluded from ...",
                                "Nel 'Presentation Menu' la linea sara' esclusa da ..."));
    TextBox4.setToolTip(ctx_.tr("Fill in with a number to sorting the list above",
                                "Inserisci un numero per ordinare la lista"));
    if (!ctx_.state.italian()) return;
    CommandButton5.setCaption("Inserisci riga");
    CommandButton6.setCaption("Duplica riga");
    CommandButton2.setCaption("Elimina riga");
    Label7.setCaption("Descrizione riga");
    Label4.setCaption("Nome File (Alt+Click per vedere)");
    Label9.setCaption("Ordinamento (100 - 999)");
    Label8.setCaption("Esclusione da:");
    CommandButton1.setCaption("Salva");
    Label5.setCaption("Nomi dei Fogli");
    Label6.setCaption("Nome Foglio Output");
}

void Us_Menu::UserForm_Initialize() {
    core::AppState& state = ctx_.state;
    state.BuildInProgress = false;
    // Every visit starts with no line loaded: Delete and Duplicate never act
    // on a line kept from an earlier visit, perhaps of another group.
    state.CurrentLine = {};
    state.LineEditMode.clear();
    state.FieldErrors.fill(0);
    setTexts();
    Frame3.setVisible(false);
    TextBox1.setLocked(true);
    guarded([&] {
        store::OpenBaseWorkbook(ctx_);
        LoadGroupLines(0);
        store::CloseBaseWorkbookDiscard(ctx_);
    });
    ListBox3.SetItems({"", "Display/Print", "Display", "Print"});
    Frame3.setVisible(false);
}

// Closing is never refused; the owner of the windows shows the main window again.
void Us_Menu::UserForm_QueryClose(int&, ui::CloseMode) {}

void Us_Menu::CommandButton3_Click() { Unload(); }

void Us_Menu::guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const automation::AutomationError& error) {
        store::FatalError(ctx_, error);
    }
}

void ShowLineEditor(core::Context& ctx) {
    Us_Menu editor(ctx);
    ctx.windows.showModal(editor);
}

}  // namespace lines
