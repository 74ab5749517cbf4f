// Macro projects: Excel's and LibreOffice's read by ours, ours read back, and
// ours laid out as Excel lays out its own, record by record.
#include <gtest/gtest.h>

#include <map>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/vba/Compression.h"
#include "office/vba/VbaProject.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace office::vba;
using office::cfb::Node;

std::optional<Node> referenceProject(const std::string& file) {
    const Bytes bytes = testsupport::readFileBytes(testsupport::sharedSample("reference/" + file));
    if (bytes.empty()) return std::nullopt;
    Node root = office::cfb::readCompoundFile(bytes);
    return *root.child(kStorageName);
}

std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }

Module newModule(std::string name, ModuleKind kind, std::string code = {}) {
    Module m;
    m.name = std::move(name);
    m.kind = kind;
    m.code = std::move(code);
    if (kind == ModuleKind::Form) {
        m.attributes = formAttributes();
        m.isPrivate = true;
        m.designer.caption = m.name;
    }
    return m;
}

// A project shaped like poi's Excel 2003 workbook, listed in Excel's order.
Project likeExcelsProject() {
    Project p;
    p.modules.push_back(newModule("ThisWorkbook", ModuleKind::Document));
    p.modules.back().attributes = documentAttributes(kWorkbookBase);
    p.modules.push_back(newModule("Sheet1", ModuleKind::Document));
    p.modules.back().attributes = documentAttributes(kWorksheetBase);
    p.modules.push_back(newModule("Chart7", ModuleKind::Document));
    p.modules.back().attributes = documentAttributes(kChartBase);
    p.modules.push_back(newModule("UserForm1", ModuleKind::Form));
    p.modules.push_back(newModule("Module1", ModuleKind::Standard, "Sub update()\r\nEnd Sub\r\n"));
    addStandardReferences(p);
    return p;
}

// The dir stream as (id, body) records, read independently of our reader.
std::vector<std::pair<std::uint16_t, Bytes>> dirRecords(const Node& storage) {
    const Bytes dir = decompress(storage.find("VBA/dir")->data);
    std::vector<std::pair<std::uint16_t, Bytes>> out;
    for (std::size_t pos = 0; pos + 6 <= dir.size();) {
        const std::uint16_t id = std::uint16_t(dir[pos] | dir[pos + 1] << 8);
        std::size_t size = dir[pos + 2] | dir[pos + 3] << 8 | dir[pos + 4] << 16 | std::size_t(dir[pos + 5]) << 24;
        if (id == 0x0009) size = 6;
        out.emplace_back(id, Bytes(dir.begin() + std::ptrdiff_t(pos + 6), dir.begin() + std::ptrdiff_t(pos + 6 + size)));
        pos += 6 + size;
    }
    return out;
}

// Record ids of the project information (before the first reference), of one
// named reference, and of each module by name.
struct DirShape {
    std::vector<std::uint16_t> information;
    std::map<std::string, std::vector<std::uint16_t>> references;
    std::map<std::string, std::vector<std::uint16_t>> modules;
};

DirShape shapeOf(const Node& storage) {
    DirShape s;
    std::string reference, module;
    bool inReferences = false, inModules = false, controlName = false;
    for (const auto& [id, body] : dirRecords(storage)) {
        if (id == 0x000F) inModules = true;
        if (id == 0x0010) break;  // the end of the stream
        if (!inReferences && !inModules && id == 0x0016) inReferences = true;
        if (inModules) {
            if (id == 0x0019) module = text(body);
            if (!module.empty()) s.modules[module].push_back(id);
        } else if (inReferences) {
            if (id == 0x0016 && !controlName) reference = text(body);
            controlName = id == 0x002F || (controlName && id == 0x0016);
            s.references[reference].push_back(id);
        } else {
            s.information.push_back(id);
        }
    }
    return s;
}

// PROJECT lines with the values that are ids or random replaced by their key.
std::vector<std::string> projectLines(const Node& storage) {
    std::vector<std::string> lines;
    std::string all = text(storage.child("PROJECT")->data);
    for (std::size_t pos = 0; pos < all.size();) {
        std::size_t end = all.find("\r\n", pos);
        std::string line = all.substr(pos, end - pos);
        for (const char* key : {"ID=", "CMG=", "DPB=", "GC="})
            if (line.rfind(key, 0) == 0) line = key;
        lines.push_back(line);
        pos = end == std::string::npos ? all.size() : end + 2;
    }
    return lines;
}

std::string moduleSource(const Node& storage, const std::string& name, std::size_t offset) {
    return text(decompress(std::span(storage.find("VBA/" + name)->data).subspan(offset)));
}

TEST(VbaProjectRead, ExcelsProjectWithAFormAndAChartSheet) {
    const auto storage = referenceProject("poi_ex42570-20305.xls");
    if (!storage) GTEST_SKIP() << "reference files are not available";
    const Project p = readProjectStorage(*storage);
    EXPECT_EQ(p.name, "VBAProject");
    EXPECT_EQ(p.id, "{58ADF472-11B9-4CB7-AB2E-0BFBB94EAAEB}");
    EXPECT_EQ(p.codePage, 1255);
    std::vector<std::pair<std::string, ModuleKind>> kinds;
    for (const Module& m : p.modules) kinds.emplace_back(m.name, m.kind);
    const std::vector<std::pair<std::string, ModuleKind>> expected = {
        {"ThisWorkbook", ModuleKind::Document}, {"Sheet1", ModuleKind::Document}, {"UserForm1", ModuleKind::Form},
        {"Module1", ModuleKind::Standard}, {"Chart7", ModuleKind::Document}};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(p.module("chart7")->attribute("VB_Base"), kChartBase);
    EXPECT_EQ(p.module("Module1")->code.rfind("Sub update()\r\n", 0), 0u);
    EXPECT_TRUE(p.module("UserForm1")->isPrivate);
    EXPECT_EQ(p.module("UserForm1")->designer.caption, "UserForm1");
    EXPECT_EQ(p.module("UserForm1")->designer.clientHeight, 3120);
    EXPECT_FALSE(p.protection.lockedForViewing());
    EXPECT_TRUE(passwordOpens(p, ""));
    std::vector<std::string> references;
    for (const Reference& r : p.references) references.push_back(r.name);
    EXPECT_EQ(references, (std::vector<std::string>{"stdole", "Office", "MSForms"}));
}

TEST(VbaProjectRead, TheLockedReferenceAndItsUnlockedTwin) {
    const auto locked = referenceProject("unlock_excel_Locked_with_macro.xls");
    const auto unlocked = referenceProject("unlock_excel_Unlocked_with_macro.xls");
    if (!locked || !unlocked) GTEST_SKIP() << "reference files are not available";
    const Project l = readProjectStorage(*locked), u = readProjectStorage(*unlocked);
    EXPECT_TRUE(l.protection.lockedForViewing());
    EXPECT_EQ(l.protection.state, 5u);
    EXPECT_TRUE(passwordOpens(l, "P@ssw0rd"));
    EXPECT_FALSE(passwordOpens(l, "P@ssword"));
    EXPECT_FALSE(u.protection.lockedForViewing());
    EXPECT_EQ(u.protection.state, 0u);
    ASSERT_EQ(l.modules.size(), u.modules.size());
    for (std::size_t i = 0; i < l.modules.size(); ++i) EXPECT_EQ(l.modules[i].code, u.modules[i].code);
    EXPECT_NE(l.module("Module1")->code.find("Sub Amazing_macro()"), std::string::npos);
}

TEST(VbaProjectRead, LibreOfficesProject) {
    const Bytes bytes = testsupport::readFileBytes(testsupport::testData("macro_lo.xls"));
    ASSERT_FALSE(bytes.empty());
    const Node root = office::cfb::readCompoundFile(bytes);
    const Project p = readProjectStorage(*root.child(kStorageName));
    ASSERT_NE(p.module("Module1"), nullptr);
    EXPECT_EQ(p.module("Module1")->kind, ModuleKind::Standard);
    EXPECT_EQ(p.module("ThisWorkbook")->kind, ModuleKind::Document);
}

TEST(VbaProjectWrite, RoundTripsThroughTheCompoundFile) {
    Project p = likeExcelsProject();
    p.name = "TavolexVBP";
    p.module("Module1")->code = "Option Compare Text\r\nPublic Lang As String\r\nSub Città()\r\n    MsgBox \"è\"\r\nEnd Sub\r\n";
    p.module("ThisWorkbook")->code = "Private Sub Workbook_Open()\r\nEnd Sub\r\n";
    for (bool lock : {false, true}) {
        SCOPED_TRACE(lock);
        Project q = p;
        if (lock) {
            lockForViewing(q, "ab1234");
            // Key and hash are chosen without zero bytes: every flag is set.
            EXPECT_EQ(testsupport::hexText(Bytes(q.protection.password.begin(), q.protection.password.begin() + 4)), "ffffffff");
        }
        Node root;
        root.name = "Root Entry";
        root.isStorage = true;
        root.children.push_back(writeProjectStorage(q));
        const Node back = office::cfb::readCompoundFile(office::cfb::writeCompoundFile(root));
        const Project r = readProjectStorage(*back.child(kStorageName));
        EXPECT_EQ(r.name, "TavolexVBP");
        ASSERT_EQ(r.modules.size(), q.modules.size());
        for (std::size_t i = 0; i < q.modules.size(); ++i) {
            EXPECT_EQ(r.modules[i].name, q.modules[i].name);
            EXPECT_EQ(r.modules[i].kind, q.modules[i].kind);
            EXPECT_EQ(r.modules[i].code, q.modules[i].code);
            EXPECT_EQ(r.modules[i].attributes, q.modules[i].attributes);
            EXPECT_EQ(r.modules[i].isPrivate, q.modules[i].isPrivate);
        }
        EXPECT_EQ(r.protection.lockedForViewing(), lock);
        EXPECT_EQ(passwordOpens(r, "ab1234"), lock);
        EXPECT_EQ(passwordOpens(r, ""), !lock);
        EXPECT_EQ(r.id, lock ? "{00000000-0000-0000-0000-000000000000}" : q.id.empty() ? r.id : q.id);
        // What was read writes again to a project that reads the same.
        const Project again = readProjectStorage(writeProjectStorage(r));
        EXPECT_EQ(again.module("UserForm1")->designer.caption, "UserForm1");
        EXPECT_EQ(again.references.size(), r.references.size());
        EXPECT_EQ(again.protection.password, r.protection.password);
    }
}

TEST(VbaProjectWrite, LaidOutAsExcelLaysOutItsOwn) {
    const auto excel = referenceProject("poi_ex42570-20305.xls");
    if (!excel) GTEST_SKIP() << "reference files are not available";
    Project p = likeExcelsProject();
    p.codePage = 1255;
    const Node ours = writeProjectStorage(p);

    // PROJECT: the same lines in the same order, but for the values that are
    // ids or random, and the Excel host line Excel 2000 and later also write.
    std::vector<std::string> excelLines = projectLines(*excel), ourLines = projectLines(ours);
    std::erase(ourLines, "&H00000002={00020818-0000-0000-C000-000000000046};Excel8.0;&H00000000");
    EXPECT_EQ(ourLines, excelLines);
    EXPECT_EQ(ours.child("PROJECTwm")->data, excel->child("PROJECTwm")->data);
    EXPECT_EQ(Bytes(ours.find("VBA/_VBA_PROJECT")->data.begin(), ours.find("VBA/_VBA_PROJECT")->data.begin() + 2),
              (Bytes{0xCC, 0x61}));

    // dir: the project information records, the references both have and the
    // records of every module, in order.
    const DirShape e = shapeOf(*excel), o = shapeOf(ours);
    EXPECT_EQ(o.information, e.information);
    for (const char* name : {"stdole", "MSForms"}) EXPECT_EQ(o.references.at(name), e.references.at(name)) << name;
    EXPECT_EQ(o.modules, e.modules);

    // The form's designer storage: the same streams, byte for byte.
    for (const char* stream : {"\x01" "CompObj", "\x03" "VBFrame", "f", "o"}) {
        SCOPED_TRACE(stream);
        EXPECT_EQ(testsupport::hexText(ours.find(std::string("UserForm1/") + stream)->data),
                  testsupport::hexText(excel->find(std::string("UserForm1/") + stream)->data));
    }

    // Module sources: the document modules' attribute lines are Excel's; the
    // form's differ only in its two class ids.
    EXPECT_EQ(moduleSource(ours, "ThisWorkbook", 0), moduleSource(*excel, "ThisWorkbook", 0x325));
    EXPECT_EQ(moduleSource(ours, "Chart7", 0), moduleSource(*excel, "Chart7", 0x325));
    const std::string ourForm = moduleSource(ours, "UserForm1", 0), excelForm = moduleSource(*excel, "UserForm1", 0x3A1);
    ASSERT_EQ(ourForm.size(), excelForm.size());
    const std::size_t ids = excelForm.find("0{") + 2;
    EXPECT_EQ(ourForm.substr(0, ids), excelForm.substr(0, ids));
    EXPECT_EQ(ourForm.substr(ids + 76), excelForm.substr(ids + 76));
}

TEST(VbaProjectWrite, BadNamesAreRefused) {
    for (const char* name : {"", "1Module", "Has space", "A23456789012345678901234567890123", "Dash-ed", "dir", "Project"}) {
        Project p;
        p.modules.push_back(newModule(name, ModuleKind::Standard));
        EXPECT_THROW(writeProjectStorage(p), automation::AutomationError) << name;
    }
    Project twice;
    twice.modules.push_back(newModule("Module1", ModuleKind::Standard));
    twice.modules.push_back(newModule("MODULE1", ModuleKind::Standard));
    EXPECT_THROW(writeProjectStorage(twice), automation::AutomationError);
    Project p;
    EXPECT_THROW(lockForViewing(p, ""), automation::AutomationError);
}

TEST(VbaProjectRead, DamagedStoragesAreRefused) {
    Project p = likeExcelsProject();
    const Node good = writeProjectStorage(p);
    const auto expectRefused = [](const Node& storage, const char* what) {
        SCOPED_TRACE(what);
        try {
            readProjectStorage(storage);
            ADD_FAILURE() << "accepted";
        } catch (const automation::AutomationError& e) {
            EXPECT_EQ(e.number(), 1004);
        }
    };
    Node noDir = good;
    noDir.child("VBA")->children.erase(std::find_if(noDir.child("VBA")->children.begin(), noDir.child("VBA")->children.end(),
                                                    [](const Node& n) { return n.name == "dir"; }));
    expectRefused(noDir, "no dir stream");
    Node noModule = good;
    noModule.find("VBA/Module1")->name = "Other";
    expectRefused(noModule, "a module stream missing");
    Node cutDir = good;
    Bytes dir = decompress(cutDir.find("VBA/dir")->data);
    dir.resize(dir.size() / 2);
    cutDir.find("VBA/dir")->data = compress(dir);
    expectRefused(cutDir, "a dir cut in the middle of a record");
    Node badProtection = good;
    std::string project = text(good.child("PROJECT")->data);
    project.replace(project.find("GC=\"") + 4, 2, "ZZ");
    badProtection.child("PROJECT")->data = Bytes(project.begin(), project.end());
    expectRefused(badProtection, "a protection field that is not hexadecimal");
}

}  // namespace

namespace {

TEST(VbaModuleCode, AddFromStringGoesBeforeTheFirstProcedure) {
    Module m;
    addFromString(m, "Option Compare Text\rPublic A As Long\r");
    EXPECT_EQ(m.code, "Option Compare Text\r\nPublic A As Long\r\n");
    addFromString(m, "Private Sub P()\nEnd Sub\n");
    EXPECT_EQ(m.code, "Option Compare Text\r\nPublic A As Long\r\nPrivate Sub P()\r\nEnd Sub\r\n");
    addFromString(m, "Dim B\r\nSubtotal = 1");  // "Subtotal" starts no procedure
    EXPECT_EQ(m.code, "Option Compare Text\r\nPublic A As Long\r\nDim B\r\nSubtotal = 1\r\nPrivate Sub P()\r\nEnd Sub\r\n");

    Module cr;
    cr.code = "Static Function F()\rEnd Function";  // as some writers store it
    addFromString(cr, "Dim C");
    EXPECT_EQ(cr.code, "Dim C\r\nStatic Function F()\rEnd Function");
    Module noEnd;
    noEnd.code = "Dim D";
    addFromString(noEnd, "Dim E\r");
    EXPECT_EQ(noEnd.code, "Dim D\r\nDim E\r\n");
}

}  // namespace

namespace {

// A Presentation's project as the engine wrote it (kept as a fixture): it
// still reads, locked, with its password.
TEST(VbaProjectRead, APresentationWrittenEarlier) {
    const Bytes bytes = testsupport::readFileBytes(testsupport::testData("presentation_macros.xls"));
    ASSERT_FALSE(bytes.empty());
    const Node root = office::cfb::readCompoundFile(bytes);
    const Project p = readProjectStorage(*root.child(kStorageName));
    EXPECT_EQ(p.name, "TavolexVBP");
    EXPECT_TRUE(p.protection.lockedForViewing());
    EXPECT_TRUE(passwordOpens(p, "ab1234"));
    std::vector<std::pair<std::string, ModuleKind>> kinds;
    for (const Module& m : p.modules) kinds.emplace_back(m.name, m.kind);
    const std::vector<std::pair<std::string, ModuleKind>> expected = {
        {"ThisWorkbook", ModuleKind::Document}, {"Sheet1", ModuleKind::Document}, {"Sheet2", ModuleKind::Document},
        {"Sheet3", ModuleKind::Document},       {"Module1", ModuleKind::Standard}, {"Us_Menu", ModuleKind::Form},
        {"Userform00", ModuleKind::Form}};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(p.module("Module1")->code.rfind("Option Compare Text\r\n", 0), 0u);
    EXPECT_NE(p.module("Us_Menu")->code.find("Private Sub GestLBox1(swbox1)"), std::string::npos);
}

}  // namespace
