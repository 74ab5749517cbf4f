// The macro editor of the engine: projects of the open workbooks, components
// added, named and filled as the build driver does it, the lock, and what the
// saved file holds when it is opened again (by the engine and by the project
// reader). Projects read from Excel's files stay as they were unless changed.
#include <gtest/gtest.h>

#include <filesystem>

#include "EngineTestSupport.h"
#include "automation/AutomationError.h"
#include "office/XlsFile.h"
#include "office/vba/VbaProject.h"
#include "support/TestSupport.h"

using automation::AutomationError;
using namespace automation::vbe;
namespace fs = std::filesystem;

namespace {

long errorNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

std::vector<std::pair<std::string, ComponentType>> componentsOf(VBProject& project) {
    std::vector<std::pair<std::string, ComponentType>> out;
    VBComponents& components = project.GetVBComponents();
    for (long i = 1; i <= components.Count(); ++i) {
        auto c = components.Item(i);
        out.emplace_back(c->Name(), c->Type());
    }
    return out;
}

// The project of the workbook saved as `path`, as the build driver finds it.
std::shared_ptr<VBProject> projectOf(VBE& vbe, const std::string& path) {
    VBProjects& projects = vbe.GetVBProjects();
    for (long i = 1; i <= projects.Count(); ++i) {
        auto project = projects.Item(i);
        try {
            if (project->FileName() == path) return project;
        } catch (const AutomationError&) {
        }
    }
    return nullptr;
}

office::vba::Project projectInFile(const fs::path& file, const std::string& password = "") {
    const office::WorkbookModel model = office::readXlsFile(file.string(), password);
    const office::cfb::Node* storage = model.rootStorage.child(office::vba::kStorageName);
    if (!storage || !model.hasVbaProject) throw std::runtime_error("no macro project in " + file.string());
    return office::vba::readProjectStorage(*storage);
}

class EngineVbe : public ::testing::Test {
protected:
    testsupport::TempFolder folder{"vbe"};
    std::shared_ptr<automation::excel::Application> app = enginetest::newApplication();
    std::string path(const std::string& name) const { return (folder.path() / name).string(); }
};

TEST_F(EngineVbe, APresentationsProjectBuiltLockedAndReadBack) {
    auto book = app->GetWorkbooks().Add();
    book->WorksheetAt(1)->SetName("START");
    book->AddWorksheet()->SetName("DATA");
    const std::string file = path("Group - v1.xls");
    book->SaveAs(file);

    VBE& vbe = app->GetVBE();
    auto project = projectOf(vbe, file);
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->Name(), "VBAProject");
    VBComponents& components = project->GetVBComponents();
    components.Item("THISWORKBOOK")->GetCodeModule().AddFromString("Private Sub Workbook_Open()\r    Us_Menu.Show\rEnd Sub\r");
    auto module = components.Add(ComponentType::StdModule);
    EXPECT_EQ(module->Name(), "Module1");
    module->GetCodeModule().AddFromString("Option Compare Text\rPublic Lang As String\r");
    auto menu = components.Add(ComponentType::MSForm);
    EXPECT_EQ(menu->Name(), "UserForm1");
    menu->SetName("Us_Menu");
    menu->GetCodeModule().AddFromString("Private Sub UserForm_Initialize()\rEnd Sub\r");
    auto backdrop = components.Add(ComponentType::MSForm);
    backdrop->SetName("Userform00");
    project->SetName("TavolexVBP");
    vbe.SetActiveVBProject(project);
    vbe.LockActiveVBProject("ab1234");

    const std::vector<std::pair<std::string, ComponentType>> expected = {
        {"ThisWorkbook", ComponentType::Document}, {"Sheet1", ComponentType::Document},
        {"Sheet2", ComponentType::Document},       {"Module1", ComponentType::StdModule},
        {"Us_Menu", ComponentType::MSForm},        {"Userform00", ComponentType::MSForm}};
    EXPECT_EQ(componentsOf(*project), expected);
    EXPECT_EQ(module->GetCodeModule().CountOfLines(), 2);
    EXPECT_EQ(module->GetCodeModule().Lines(2, 1), "Public Lang As String");
    book->Close(true);

    // As the project reader sees the file.
    const office::vba::Project read = projectInFile(file);
    EXPECT_EQ(read.name, "TavolexVBP");
    EXPECT_TRUE(read.protection.lockedForViewing());
    EXPECT_TRUE(office::vba::passwordOpens(read, "ab1234"));
    EXPECT_FALSE(office::vba::passwordOpens(read, "ab1235"));
    EXPECT_EQ(read.module("ThisWorkbook")->code, "Private Sub Workbook_Open()\r\n    Us_Menu.Show\r\nEnd Sub\r\n");
    EXPECT_EQ(read.module("Us_Menu")->kind, office::vba::ModuleKind::Form);
    EXPECT_EQ(read.module("Us_Menu")->designer.caption, "UserForm1");
    ASSERT_EQ(read.references.size(), 2u);
    EXPECT_EQ(read.references[1].name, "MSForms");
    // The sheets carry their code names.
    const office::WorkbookModel model = office::readXlsFile(file, "");
    EXPECT_EQ(model.codeName, "ThisWorkbook");
    EXPECT_EQ(model.sheets[0].name + "=" + model.sheets[0].codeName + "," + model.sheets[1].name + "=" +
                  model.sheets[1].codeName,
              "DATA=Sheet1,START=Sheet2");

    // As Excel would open it again: locked, the components closed.
    auto again = app->GetWorkbooks().Open(file);
    auto reopened = projectOf(app->GetVBE(), file);
    EXPECT_EQ(reopened->Protection(), ProjectProtection::Locked);
    EXPECT_EQ(reopened->Name(), "TavolexVBP");
    EXPECT_EQ(errorNumber([&] { reopened->GetVBComponents(); }), 50289);
    EXPECT_EQ(errorNumber([&] { reopened->SetName("Other"); }), 50289);
    app->GetVBE().SetActiveVBProject(reopened);
    EXPECT_EQ(errorNumber([&] { app->GetVBE().LockActiveVBProject("x"); }), 50289);
    // Saving without touching the project keeps it as it was.
    again->Save();
    EXPECT_TRUE(office::vba::passwordOpens(projectInFile(file), "ab1234"));
}

TEST_F(EngineVbe, LookingAtProjectsPutsNoMacrosIntoAWorkbook) {
    auto book = app->GetWorkbooks().Add();
    EXPECT_EQ(errorNumber([&] { app->GetVBE().GetVBProjects().Item(1)->FileName(); }), 76);
    const std::string file = path("plain.xls");
    book->SaveAs(file);
    auto project = projectOf(app->GetVBE(), file);
    EXPECT_EQ(componentsOf(*project).size(), 2u);  // ThisWorkbook and Sheet1
    book->Save();
    const office::WorkbookModel model = office::readXlsFile(file, "");
    EXPECT_EQ(model.rootStorage.child(office::vba::kStorageName), nullptr);
    EXPECT_FALSE(model.hasVbaProject);
}

TEST_F(EngineVbe, DocumentComponentsFollowTheSheets) {
    auto book = app->GetWorkbooks().Add();
    const std::string file = path("sheets.xls");
    book->SaveAs(file);
    auto project = projectOf(app->GetVBE(), file);
    project->GetVBComponents().Item("Sheet1")->GetCodeModule().AddFromString("' first sheet\r");
    project->GetVBComponents().Item("ThisWorkbook")->SetName("Book");
    auto added = book->AddWorksheet();
    added->SetName("Added");
    book->Save();
    office::vba::Project read = projectInFile(file);
    std::vector<std::string> names;
    for (const auto& m : read.modules) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Book", "Sheet1", "Sheet2"}));
    EXPECT_EQ(office::readXlsFile(file, "").codeName, "Book");

    book->Worksheets("Sheet1")->Delete();
    book->Save();
    read = projectInFile(file);
    names.clear();
    for (const auto& m : read.modules) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Book", "Sheet2"}));
}

TEST_F(EngineVbe, NamesAndCallsTheEditorRefuses) {
    auto book = app->GetWorkbooks().Add();
    VBE& vbe = app->GetVBE();
    auto project = vbe.ActiveVBProject();
    ASSERT_NE(project, nullptr);
    VBComponents& components = project->GetVBComponents();
    auto form = components.Add(ComponentType::MSForm);
    for (const char* bad : {"", "1st", "Has space", "Us-Menu", "A23456789012345678901234567890123"})
        EXPECT_EQ(errorNumber([&] { form->SetName(bad); }), 1004) << bad;
    EXPECT_EQ(errorNumber([&] { form->SetName("SHEET1"); }), 1004);
    form->SetName("userform1");  // itself, in other letters
    EXPECT_EQ(form->Name(), "userform1");
    EXPECT_EQ(errorNumber([&] { components.Add(ComponentType::Document); }), 5);
    EXPECT_EQ(errorNumber([&] { components.Item("Missing"); }), 9);
    EXPECT_EQ(errorNumber([&] { components.Item(99); }), 9);
    EXPECT_EQ(errorNumber([&] { form->GetCodeModule().Lines(1, 1); }), 9);
    EXPECT_EQ(errorNumber([&] { vbe.LockActiveVBProject(""); }), 1004);
    EXPECT_EQ(errorNumber([&] { project->SetName("Not valid"); }), 1004);

    auto otherApp = enginetest::newApplication();
    otherApp->GetWorkbooks().Add();
    EXPECT_EQ(errorNumber([&] { vbe.SetActiveVBProject(otherApp->GetVBE().ActiveVBProject()); }), 5);
    book->Close(false);
    EXPECT_EQ(vbe.ActiveVBProject(), nullptr);
    EXPECT_NE(errorNumber([&] { form->Name(); }), 0);  // its workbook is closed
}

// Excel's own projects: read through the editor, kept byte for byte when
// untouched, and rewritten with their form designer when changed.
TEST_F(EngineVbe, ExcelsProjectKeptOrChanged) {
    const fs::path reference = testsupport::sharedSample("reference/poi_ex42570-20305.xls");
    if (!fs::exists(reference)) GTEST_SKIP() << "reference files are not available";
    const fs::path copy = folder.path() / "excel.xls";
    fs::copy_file(reference, copy);
    const office::WorkbookModel original = office::readXlsFile(copy.string(), "");

    auto book = app->GetWorkbooks().Open(copy.string());
    auto project = projectOf(app->GetVBE(), copy.string());
    const std::vector<std::pair<std::string, ComponentType>> expected = {
        {"ThisWorkbook", ComponentType::Document}, {"Sheet1", ComponentType::Document},
        {"UserForm1", ComponentType::MSForm},      {"Module1", ComponentType::StdModule},
        {"Chart7", ComponentType::Document}};
    EXPECT_EQ(componentsOf(*project), expected);
    book->Save();
    const auto storage = [](const office::WorkbookModel& m) { return *m.rootStorage.child(office::vba::kStorageName); };
    EXPECT_EQ(storage(office::readXlsFile(copy.string(), "")), storage(original));

    project->GetVBComponents().Item("Module1")->GetCodeModule().AddFromString("Public Added As Long");
    book->Save();
    const office::vba::Project read = projectInFile(copy);
    EXPECT_EQ(read.module("Module1")->code.rfind("Public Added As Long\r\nSub update()", 0), 0u);
    ASSERT_TRUE(read.module("UserForm1")->keptDesigner.has_value());
    EXPECT_EQ(*read.module("UserForm1")->keptDesigner, *storage(original).child("UserForm1"));
    EXPECT_EQ(read.references.size(), 3u);
}

TEST_F(EngineVbe, ALockedProjectOfExcelStaysClosed) {
    const fs::path reference = testsupport::sharedSample("reference/unlock_excel_Locked_with_macro.xls");
    if (!fs::exists(reference)) GTEST_SKIP() << "reference files are not available";
    auto book = app->GetWorkbooks().Open(reference.string(), {std::nullopt, std::nullopt, true});
    auto project = projectOf(app->GetVBE(), book->FullName());
    ASSERT_NE(project, nullptr);
    EXPECT_EQ(project->Protection(), ProjectProtection::Locked);
    EXPECT_EQ(errorNumber([&] { project->GetVBComponents(); }), 50289);
}

}  // namespace
