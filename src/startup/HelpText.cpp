#include "startup/HelpText.h"

#include <vector>

namespace startup {

namespace {

// Lines separated by single carriage returns: trailing empty lines become
// the final carriage returns of the text.
std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r" : "") + lines[i];
    return text;
}

// Ends with four carriage returns.
std::string EnglishHelp() {
    return JoinedLines({
        "(Right click for printing.)",
        std::string("USE (for further information, visit the website ") + kWebSiteAddress + ")",
        "- Tavolex allow you to create a Presentation set composed with Excel sheets, Word",
        "  document pages, PowerPoint presentation slides and whatever other Windows file",
        "  in the required order.",
        "- The result is an Excel file (Menu managed) that allow you to display Presentation",
        "  files.",
        "- Basic information for Presentation creation are stored into an Excel file",
        "  (BasePresentation.xls).",
        "- Data can be Password protected.",
        "",
        "INIZIALIZATION",
        "- Run the program giving as an argument the full path of a folder. In this folder the",
        "  system creates the Excel file used to store the Presentation basic information.",
        "  It is suggested to create a desktop shortcut (see the starting message).",
        "",
        "UNINSTALLATION",
        "- Delete the shortcut, the program and the Excel file 'BasePresentation.xls' inside the",
        "  folder or press the button 'Uninstall'.",
        "",
        "",
        "",
        "",
    });
}

// Ends with one carriage return.
std::string ItalianHelp() {
    return JoinedLines({
        "(Per stampare cliccare con il tasto destro.)",
        std::string("UTILIZZO (per ulteriori informazioni visitare il sito ") + kWebSiteAddress + ")",
        "- Tavolex permette di creare una Presentazione formata da fogli Excel, pagine di",
        "  documenti Word, slide di presentazioni PowePoint e qualsiasi altro file Windows",
        "  nella sequenza voluta.",
        "- Il risultato e' un file Excel (gestito tramite Menu) che permette di visualizzare",
        "  i files della Presentazione.",
        "- Le informazioni base per la creazione della Presentazione vengono memorizzate in un file",
        "  Excel (BasePresentation.xls).",
        "- I dati possono essere protetti da Password.",
        "",
        "INIZIALIZZAZIONE",
        "- Eseguire il programma fornendo come parametro l'indirizzo di una cartella. In questa",
        "  cartella il sistema crea il file Excel usato per memorizzare le informazioni base",
        "  della Presentazione.",
        "  Si consiglia di creare un collegamento sul desktop (vedi messaggio iniziale).",
        "- Mettendo |E in coda all'indirizzo della cartella, si ottiene la versione in lingua",
        "  inglese.",
        "",
        "DISINSTALLAZIONE",
        "- Cancellare il collegamento, il programma ed il file Excel 'BasePresentation.xls",
        "  nella cartella oppure premere il tasto 'Disinstalla'.",
        "",
        "   (help provvisorio)",
        "",
    });
}

}  // namespace

std::string HelpText(const std::string& languageCode) {
    if (languageCode == "E") return EnglishHelp();
    if (languageCode == "I") return ItalianHelp();
    return "";
}

}  // namespace startup
