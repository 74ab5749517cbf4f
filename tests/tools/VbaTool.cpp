// Writes and reads Presentation macro projects from the command line, so that
// outside checkers can look at what the engine writes:
//   tavolex_vba_tool presentation FILE [LOCKPASSWORD]
//       a workbook with sheets START, DATA and "Budget", its macro project
//       filled through the macro editor as the build driver does it (the four
//       macro texts, the project named and, given a password, locked)
//   tavolex_vba_tool text workbook|module|menu|backdrop
//       one macro text as the project stores it (lines ended by CR LF)
//   tavolex_vba_tool dump FILE
//       the project as our reader sees it: name, lock, then "module NAME KIND"
//       lines, each followed by its source and a line "--end--"
//   tavolex_vba_tool opens FILE PASSWORD    exit 0 when the password opens the project
// Exit code 0 on success, 1 with a message on stderr otherwise.
#include <iostream>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "macros/MacroTexts.h"
#include "office/XlsFile.h"
#include "office/engine/ExcelEngine.h"
#include "office/vba/VbaProject.h"

namespace {

using namespace automation::vbe;

void presentation(const std::string& file, const std::string& lockPassword) {
    auto excel = office::engine::createExcelApplication();
    auto book = excel->GetWorkbooks().Add();
    book->WorksheetAt(1)->SetName("START");
    book->AddWorksheet()->SetName("DATA");
    book->AddWorksheet()->SetName("Budget");
    book->SaveAs(file);

    VBE& vbe = excel->GetVBE();
    VBProjects& projects = vbe.GetVBProjects();
    for (long i = 1; i <= projects.Count(); ++i) {
        std::shared_ptr<VBProject> project = projects.Item(i);
        std::string fileName;
        try {
            fileName = project->FileName();
        } catch (const automation::AutomationError&) {
            continue;
        }
        if (fileName != book->FullName()) continue;
        VBComponents& components = project->GetVBComponents();
        components.Item("THISWORKBOOK")->GetCodeModule().AddFromString(macros::WorkbookEventText());
        components.Add(ComponentType::StdModule)->GetCodeModule().AddFromString(macros::ModuleText());
        auto menu = components.Add(ComponentType::MSForm);
        menu->SetName("Us_Menu");
        menu->GetCodeModule().AddFromString(macros::MenuFormText());
        auto backdrop = components.Add(ComponentType::MSForm);
        backdrop->SetName("Userform00");
        backdrop->GetCodeModule().AddFromString(macros::BackdropText());

        project->SetName("TavolexVBP");
        vbe.SetActiveVBProject(project);
        if (!lockPassword.empty()) vbe.LockActiveVBProject(lockPassword);
    }
    book->Close(true);
    excel->Quit();
}

void text(const std::string& which) {
    const std::string* t = which == "workbook" ? &macros::WorkbookEventText()
                           : which == "module" ? &macros::ModuleText()
                           : which == "menu"   ? &macros::MenuFormText()
                           : which == "backdrop" ? &macros::BackdropText()
                                               : nullptr;
    if (!t) throw std::runtime_error("no macro text named " + which);
    office::vba::Module m;
    office::vba::addFromString(m, *t);
    std::cout << m.code;
}

office::vba::Project projectOf(const std::string& file) {
    const office::WorkbookModel model = office::readXlsFile(file, "");
    const office::cfb::Node* storage = model.rootStorage.child(office::vba::kStorageName);
    if (!storage || !model.hasVbaProject) throw std::runtime_error(file + " holds no macro project");
    return office::vba::readProjectStorage(*storage);
}

const char* kindName(office::vba::ModuleKind kind) {
    switch (kind) {
    case office::vba::ModuleKind::Standard: return "standard";
    case office::vba::ModuleKind::Class: return "class";
    case office::vba::ModuleKind::Document: return "document";
    case office::vba::ModuleKind::Form: return "form";
    }
    return "?";
}

void dump(const std::string& file) {
    const office::vba::Project p = projectOf(file);
    std::cout << "name " << p.name << "\n";
    std::cout << "locked " << (p.protection.lockedForViewing() ? "yes" : "no") << "\n";
    for (const auto& m : p.modules)
        std::cout << "module " << m.name << " " << kindName(m.kind) << "\n" << m.code << "--end--\n";
}

int run(const std::vector<std::string>& args) {
    if (args.size() >= 2 && args[0] == "presentation") {
        presentation(args[1], args.size() > 2 ? args[2] : "");
        return 0;
    }
    if (args.size() == 2 && args[0] == "text") {
        text(args[1]);
        return 0;
    }
    if (args.size() == 2 && args[0] == "dump") {
        dump(args[1]);
        return 0;
    }
    if (args.size() == 3 && args[0] == "opens") return office::vba::passwordOpens(projectOf(args[1]), args[2]) ? 0 : 1;
    std::cerr << "usage: tavolex_vba_tool presentation FILE [LOCKPASSWORD] | text NAME | dump FILE | opens FILE PASSWORD\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const automation::AutomationError& e) {
        std::cerr << "error " << e.number() << ": " << e.description() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
    }
    return 1;
}
