#include "parts/PartsFixture.h"

#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineApplication.h"
#include "office/engine/ExcelEngine.h"
#include "platform/FolderListing.h"
#include "platform/LinuxFileSystem.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"

namespace partstest {

std::shared_ptr<automation::excel::Application> TestObjectFactory::CreateExcel() {
    if (excelMissing)
        throw automation::AutomationError(automation::errnum::kCannotCreateObject,
                                          "ActiveX component can't create object");
    ++excelInstancesCreated;
    auto app = office::engine::createExcelApplication(nullptr, lockWait);
    if (drawChart) dynamic_cast<office::engine::EngineApplication&>(*app).state()->drawChart = drawChart;
    instances.push_back(app);
    return app;
}

std::shared_ptr<automation::word::Application> TestObjectFactory::CreateWord() {
    auto app = makeWord ? makeWord() : office::engine::createWordApplication();
    wordInstances.push_back(app);
    return app;
}

std::shared_ptr<automation::powerpoint::Presentation> TestObjectFactory::GetPresentation(const std::string& fileName) {
    auto presentation = office::engine::bindPresentationFile(fileName);
    presentations.push_back(presentation);
    return presentation;
}

bool TestObjectFactory::everythingClosed() const {
    // A call on an instance that has quit, or on a closed presentation, raises.
    auto raises = [](const std::function<void()>& call) {
        try {
            call();
        } catch (const automation::AutomationError&) {
            return true;
        }
        return false;
    };
    for (const auto& app : instances)
        if (!raises([&] { app->GetWorkbooks(); })) return false;
    for (const auto& app : wordInstances)
        if (!raises([&] { app->GetDocuments(); })) return false;
    for (const auto& presentation : presentations)
        if (!raises([&] { presentation->GetSlides(); })) return false;
    return true;
}

std::shared_ptr<automation::FileSystem> TestObjectFactory::CreateFileSystem() {
    return std::make_shared<platform::LinuxFileSystem>();
}

namespace {
std::string withoutFinalSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}
}  // namespace

std::vector<std::string> TestPlatform::ListSubfolders(const std::string& folder) {
    listed.push_back(folder);
    if (auto bad = unreadable.find(withoutFinalSeparator(folder)); bad != unreadable.end()) throw bad->second;
    return platform::SubfolderNames(folder);
}

std::vector<std::string> TestPlatform::ListFiles(const std::string& folder, const std::string& pattern) {
    if (auto bad = unreadable.find(withoutFinalSeparator(folder)); bad != unreadable.end()) throw bad->second;
    return platform::FileNames(folder, pattern);
}

PartsTest::PartsTest() {
    ctx.state.DataFolder = folder.withSeparator();
    ctx.state.FileSystem = objects.CreateFileSystem();
    store::InitFixedSettings(ctx.state);
}

std::string PartsTest::basePath() const { return ctx.state.DataFolder + ctx.state.BaseFileName; }

void PartsTest::makeBaseWorkbook(const std::vector<Row>& rows) {
    windows.answer(ui::Answer::Ok);  // "The Excel file ==> ... has been created!"
    store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
    windows.boxes.clear();
    if (rows.empty()) return;
    auto app = objects.CreateExcel();
    automation::excel::OpenOptions options;
    options.password = ctx.state.BasePassword;
    auto workbook = app->GetWorkbooks().Open(basePath(), options);
    auto data = workbook->Worksheets("DATA");
    long r = 2;
    for (const Row& row : rows) {
        const automation::Variant values[] = {row.id, row.group, row.exclusion, row.description,
                                              row.fileName, row.inputSheet, row.outputSheet,
                                              row.objectName, row.firstPage, row.lastPage, row.sort};
        for (long c = 1; c <= 11; ++c)
            if (!values[c - 1].isEmpty() && !(values[c - 1].isText() && values[c - 1].text().empty()))
                data->Cells(r, c)->SetValue(values[c - 1]);
        ++r;
    }
    workbook->Save();
    app->Quit();
    objects.excelInstancesCreated = 0;
}

std::vector<std::vector<std::string>> PartsTest::readDataRows() {
    auto app = objects.CreateExcel();
    automation::excel::OpenOptions options;
    options.password = ctx.state.BasePassword;
    options.readOnly = true;
    auto workbook = app->GetWorkbooks().Open(basePath(), options);
    auto data = workbook->Worksheets("DATA");
    std::vector<std::vector<std::string>> rows;
    for (long r = 2; r <= 9999; ++r) {
        if (data->Cells(r, 1)->Value().toText().empty()) break;
        std::vector<std::string> row;
        for (long c = 1; c <= 11; ++c) row.push_back(data->Cells(r, c)->Value().toText());
        rows.push_back(row);
    }
    app->Quit();
    --objects.excelInstancesCreated;
    return rows;
}

}  // namespace partstest
