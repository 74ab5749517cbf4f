#include <vector>

#include "core/ProgramEnd.h"
#include "core/Text.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "text/CaseFold.h"

namespace store {

using automation::AutomationError;
namespace excel = automation::excel;

void CreateBaseWorkbook(core::Context& ctx, const std::string& folder) {
    std::shared_ptr<excel::Application> excelApp;
    try {
        excelApp = ctx.objects.CreateExcel();
    } catch (const AutomationError&) {
        ctx.msgBox(ctx.tr("Error opening Excel!", "Errore nell'apertura di Excel!"));
        core::EndProgram();
    }

    const std::string path = folder + ctx.state.BaseFileName;
    try {
        auto workbook = excelApp->GetWorkbooks().Add();
        auto data = workbook->AddWorksheet();
        data->SetName(kDataSheet);

        excelApp->SetDisplayAlerts(false);
        std::vector<std::string> others;
        for (long i = 1; i <= workbook->WorksheetCount(); ++i) {
            std::string name = workbook->WorksheetAt(i)->Name();
            if (!text::equalsIgnoringCase(name, kDataSheet)) others.push_back(name);
        }
        for (const std::string& name : others) workbook->Worksheets(name)->Delete();
        excelApp->SetDisplayAlerts(true);

        for (long column = 1; column <= static_cast<long>(kHeaderTexts.size()); ++column)
            data->Cells(1, column)->SetValue(kHeaderTexts[column - 1]);
        auto header = data->Rows(1);
        header->GetFont().SetUnderline(excel::Underline::Single);
        header->GetFont().SetBold(true);

        workbook->AddWorksheet()->SetName(kStartSheet);
        data->SetVisible(excel::SheetVisibility::VeryHidden);

        workbook->SaveAs(path, ctx.state.BasePassword);
        excelApp->Quit();
    } catch (const AutomationError& error) {
        // Nothing of the user's is lost here; the half-made workbook is never saved.
        try {
            excelApp->SetDisplayAlerts(false);
            excelApp->Quit();
        } catch (const AutomationError&) {
        }
        FatalError(ctx, error);
    }

    ctx.msgBox(ctx.tr("The Excel file     ==>     ", "Il file Excel     ==>     ") + path + "\n" +
               ctx.tr(" has been created!", " e' stato creato!"));
}

}  // namespace store
