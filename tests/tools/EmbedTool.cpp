// Writes and reads workbooks with embedded objects through the engine, so
// that outside checkers can look at what it writes:
//   tavolex_embed_tool make OUT.xls FILE...     (sheet DATA, one object per file, shown as icons)
//   tavolex_embed_tool list XLS                 (sheet, name, class and file name of each object)
//   tavolex_embed_tool extract XLS SHEET NAME OUT
// Exit code 0 on success, 1 with a message on stderr otherwise.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "office/engine/ExcelEngine.h"

namespace {

int make(const std::string& out, const std::vector<std::string>& files) {
    auto app = office::engine::createExcelApplication();
    auto book = app->GetWorkbooks().Add();
    auto sheet = book->WorksheetAt(1);
    sheet->SetName("DATA");
    long row = 1;
    for (const std::string& file : files) {
        sheet->Cells(row, 1)->Select();
        sheet->Cells(row, 5)->SetValue(automation::Variant(file));
        auto object = sheet->AddOLEObject(file, false, true, 0, file);
        sheet->Cells(row, 8)->SetValue(automation::Variant(object->Name()));
        row += 4;
    }
    book->SaveAs(out);
    app->Quit();
    return 0;
}

int list(const std::string& path) {
    auto app = office::engine::createExcelApplication();
    automation::excel::OpenOptions readOnly;
    readOnly.readOnly = true;
    auto book = app->GetWorkbooks().Open(path, readOnly);
    for (long s = 1; s <= book->WorksheetCount(); ++s) {
        auto sheet = book->WorksheetAt(s);
        for (long i = 1; i <= sheet->OLEObjectCount(); ++i) {
            auto object = sheet->OLEObjects(i);
            std::cout << sheet->Name() << '\t' << object->Name() << '\t' << object->progID() << '\t'
                      << object->FileName() << '\n';
        }
    }
    app->Quit();
    return 0;
}

int extract(const std::string& path, const std::string& sheetName, const std::string& name, const std::string& out) {
    auto app = office::engine::createExcelApplication();
    automation::excel::OpenOptions readOnly;
    readOnly.readOnly = true;
    auto book = app->GetWorkbooks().Open(path, readOnly);
    const std::vector<std::uint8_t> bytes = book->Worksheets(sheetName)->OLEObjects(name)->FileBytes();
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    app->Quit();
    return file ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 2 && args[0] == "make") return make(args[1], {args.begin() + 2, args.end()});
        if (args.size() == 2 && args[0] == "list") return list(args[1]);
        if (args.size() == 5 && args[0] == "extract") return extract(args[1], args[2], args[3], args[4]);
    } catch (const automation::AutomationError& e) {
        std::cerr << e.number() << ": " << e.description() << '\n';
        return 1;
    }
    std::cerr << "usage: tavolex_embed_tool make OUT.xls FILE... | list XLS | extract XLS SHEET NAME OUT\n";
    return 1;
}
