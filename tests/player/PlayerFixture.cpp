#include "player/PlayerFixture.h"

#include <filesystem>
#include <fstream>

#include "builder/BuildPresentation.h"
#include "support/OnePixelPng.h"

namespace playertest {

namespace fs = std::filesystem;
namespace excel = automation::excel;

PlayerTest::PlayerTest() {
    windows.autoAcknowledge = true;
    // Charts of the sheets are carried as one pixel.
    objects.drawChart = [](const office::engine::ChartToDraw&) {
        return automation::Picture{testsupport::onePixelPng(), 1, 1};
    };
}

std::string PlayerTest::sample(const std::string& name) {
    const fs::path path = folder.path() / name;
    fs::copy_file(testsupport::testData(name), path, fs::copy_options::overwrite_existing);
    return path.string();
}

std::string PlayerTest::textFile(const std::string& name, const std::string& content) {
    const fs::path path = folder.path() / name;
    std::ofstream(path) << content;
    return path.string();
}

std::string PlayerTest::buildPresentation(const std::vector<Row>& rows, const std::string& group,
                                          const std::string& version, const std::string& password) {
    makeBaseWorkbook(rows);
    ctx.state.SelectedGroup = group;
    windows.answerInput(version);
    windows.answerInput(password);
    int status = -1;
    builder::BuildPresentation(ctx, status, {});
    EXPECT_TRUE(status == 0 || status == 1) << "build status " << status;
    windows.boxes.clear();
    return ctx.state.PresentationPath;
}

std::string PlayerTest::reviewPresentation() {
    const std::string budget = sample("budget.xls");
    return buildPresentation(
        {{1, "Review", "", "Summary", budget, "Summary", "Totals", "", {}, {}, 100},
         {2, "Review", "V", "Figures", budget, "Data", "Figures", "", {}, {}, 200},
         {3, "Review", "", "The memo", sample("memo.doc"), "", "", "", {}, {}, 300},
         {4, "Review", "P", "The deck", sample("deck.ppt"), "", "", "", 2, 3, 400},
         {5, "Review", "S", "Left out", "/nowhere/gone.pdf", "", "", "", {}, {}, 500},
         {6, "Review", "", "Notes", textFile("notes.txt", "n\n"), "", "", "", {}, {}, 600}},
        "Review", " 3.1 ", "pw");
}

void PlayerTest::editPresentation(const std::string& path, const std::string& password,
                                  const std::function<void(excel::Workbook&)>& edit) {
    auto app = objects.CreateExcel();
    auto book = app->GetWorkbooks().Open(path);
    book->Unprotect(password);
    book->Worksheets("DATA")->Unprotect(ctx.state.BasePassword);
    edit(*book);
    book->Save();
    app->Quit();
}

void PlayerTest::fillDataRows(excel::Workbook& book, int count, const std::string& sheet, int step,
                              const std::string& code) {
    auto data = book.Worksheets("DATA");
    for (int k = 0; k < count; ++k) {
        const long row = 2 + k;
        data->Cells(row, 1)->SetValue(k + 1);
        data->Cells(row, 2)->SetValue("Many");
        data->Cells(row, 3)->SetValue(step > 0 && (k + 1) % step == 0 ? code : std::string());
        data->Cells(row, 4)->SetValue("Line " + std::to_string(k + 1));
        data->Cells(row, 5)->SetValue("/somewhere/book.xls");
        data->Cells(row, 6)->SetValue("Summary");
        data->Cells(row, 7)->SetValue(sheet);
    }
    data->Cells(2 + count, 1)->SetValue(automation::Variant());  // the table ends here
}

}  // namespace playertest
