// Drives the real store and main-window code from the command line, with a
// scripted user, so that outside checkers can look at the files it writes:
//   tavolex_store_tool create FOLDER
//   tavolex_store_tool add FOLDER ID GROUP [DESCRIPTION [SORT [EXCLUSION FILE INSHEET OUTSHEET FIRST LAST]]]
//   tavolex_store_tool list FOLDER          (prints the main window's list)
//   tavolex_store_tool new FOLDER GROUP         (New with a name: the list loaded, the name checked)
//   tavolex_store_tool copy FOLDER GROUP NEWNAME
//   tavolex_store_tool delete FOLDER GROUP
//   tavolex_store_tool line-insert FOLDER GROUP DESCRIPTION FILE SORT   (through the line editor)
//   tavolex_store_tool line-load FOLDER GROUP ROW                       (the line editor shows a line)
//   tavolex_store_tool line-duplicate FOLDER GROUP ROW SORT             (ROW: 0-based in the line list)
//   tavolex_store_tool line-delete FOLDER GROUP ROW
//   tavolex_store_tool password             (the base workbook's password)
//   tavolex_store_tool dump FILE [PASSWORD] (sheets, visibility, cells A1:C3 as the engine reads them)
// --no-feedback-pause before the command leaves out the half-second button
// feedback (for timing the commands); --no-heap-prefault after it faults
// fresh memory in page by page, as without the program's heap preparer (for
// measuring what that saves).
// Exit code 0 on success, 1 with a message on stderr otherwise.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "core/Context.h"
#include "core/ProgramEnd.h"
#include "core/Text.h"
#include "groups/MainWindow.h"
#include "groups/UserForm00.h"
#include "lines/Us_Menu.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxPlatform.h"
#include "office/io/FreshMemory.h"
#include "platform/ProcessMemory.h"
#include "store/BaseWorkbook.h"
#include "support/EngineObjects.h"
#include "support/ScriptedChooser.h"
#include "ui/scripted/ScriptedWindowSystem.h"
#include "text/CaseFold.h"

namespace {


void selectEntry(ui::ScriptedWindowSystem& windows, const std::string& name) {
    windows.act([name](ui::Form& form) {
        auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
        for (int i = 0; i < list.ListCount(); ++i)
            if (text::equalsIgnoringCase(list.List(i), name)) return list.userSelect(i);
        throw std::runtime_error("no group " + name + " in the list");
    });
}

const char* visibilityName(automation::excel::SheetVisibility visibility) {
    switch (visibility) {
    case automation::excel::SheetVisibility::Visible: return "visible";
    case automation::excel::SheetVisibility::Hidden: return "hidden";
    case automation::excel::SheetVisibility::VeryHidden: return "veryhidden";
    }
    return "?";
}

void dump(const std::string& file, const std::string& password) {
    auto app = office::engine::createExcelApplication();
    automation::excel::OpenOptions options;
    if (!password.empty()) options.password = password;
    options.readOnly = true;
    auto workbook = app->GetWorkbooks().Open(file, options);
    for (const std::string& name : workbook->SheetNames()) std::cout << "sheet " << name << "\n";
    for (long i = 1; i <= workbook->WorksheetCount(); ++i) {
        auto sheet = workbook->WorksheetAt(i);
        std::cout << "worksheet " << sheet->Name() << " " << visibilityName(sheet->Visible()) << "\n";
        for (long r = 1; r <= 3; ++r)
            for (long c = 1; c <= 3; ++c) {
                auto value = sheet->Cells(r, c)->Value();
                if (!value.isEmpty()) std::cout << "cell " << sheet->Name() << "!" << sheet->Cells(r, c)->Address() << " " << value.toText() << "\n";
            }
    }
    app->Quit();
}

int run(std::vector<std::string> args) {
    const bool noFeedbackPause = !args.empty() && args[0] == "--no-feedback-pause";
    if (noFeedbackPause) args.erase(args.begin());
    if (!args.empty() && args[0] == "password") {
        core::AppState state;
        store::InitFixedSettings(state);
        std::cout << state.BasePassword << "\n";
        return 0;
    }
    if (args.size() >= 2 && args[0] == "dump") {
        dump(args[1], args.size() >= 3 ? args[2] : "");
        return 0;
    }
    if (args.size() < 2) throw std::runtime_error("usage: create|add|list|copy|delete FOLDER ...");
    testsupport::EngineObjects objects;
    platform::LinuxPlatform platform;
    ui::ScriptedWindowSystem windows;
    windows.autoAcknowledge = true;
    core::Context ctx(objects, platform, windows);
    ctx.state.DataFolder = args[1].back() == '/' ? args[1] : args[1] + "/";
    ctx.state.FileSystem = objects.CreateFileSystem();
    store::InitFixedSettings(ctx.state);
    ctx.seams.showLineEditor = [](core::Context&) {};
    if (noFeedbackPause) ctx.seams.feedbackPause = [](core::Context&, double) {};

    const std::string& command = args[0];
    try {
    if (command == "create") {
        store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
    } else if (command == "add" && args.size() >= 4) {
        store::OpenBaseWorkbook(ctx);
        auto& data = *ctx.state.DataSheet;
        long row = data.GetRange("A1")->End(automation::excel::Direction::Down)->Row() + 1;
        if (row > 60000) row = 2;
        data.Cells(row, 1)->SetValue(std::stod(args[2]));
        data.Cells(row, 2)->SetValue(args[3]);
        if (args.size() >= 5) data.Cells(row, 4)->SetValue(args[4]);
        if (args.size() >= 6) data.Cells(row, 11)->SetValue(std::stod(args[5]));
        // The rest of a whole line: columns C, E, F, G, I and J, numbers as numbers.
        const long rest[] = {3, 5, 6, 7, 9, 10};
        for (std::size_t k = 0; k < 6 && 6 + k < args.size(); ++k) {
            const std::string& value = args[6 + k];
            if (value.empty()) continue;
            if (rest[k] >= 9)
                data.Cells(row, rest[k])->SetValue(std::stod(value));
            else
                data.Cells(row, rest[k])->SetValue(value);
        }
        store::SaveAndCloseBaseWorkbook(ctx);
    } else if (command == "list") {
        windows.act([](ui::Form& form) {
            auto& list = static_cast<groups::UserForm00&>(form).ListBox1;
            for (int i = 0; i < list.ListCount(); ++i) std::cout << list.List(i) << "\n";
        });
        groups::RunMainWindow(ctx);
    } else if (command == "new" && args.size() >= 3) {
        windows.click("CommandButton1");
        windows.answerInput(args[2]);
        groups::RunMainWindow(ctx);
    } else if (command == "copy" && args.size() >= 4) {
        selectEntry(windows, args[2]);
        windows.click("CommandButton6");
        windows.answerInput(args[3]);
        groups::RunMainWindow(ctx);
    } else if (command == "delete" && args.size() >= 3) {
        selectEntry(windows, args[2]);
        windows.click("CommandButton3");
        windows.answer(ui::Answer::Yes);
        groups::RunMainWindow(ctx);
    } else if (command.rfind("line-", 0) == 0 && args.size() >= 4) {
        ctx.state.SelectedGroup = args[2];
        ctx.state.GroupEditMode.assign(1, 'M');  // (GCC 12 warns falsely on = "M" here)
        auto clickRow = [&windows](int row) {
            windows.selectItem("ListBox1", row);
            windows.mouseUp("ListBox1", ui::kLeftButton);
        };
        if (command == "line-insert" && args.size() >= 6) {
            windows.click("CommandButton5");
            windows.typeText("TextBox3", args[3]);
            windows.keyPress("TextBox1", 'x');
            testsupport::chooseFile(windows, args[4]);
            windows.typeText("TextBox4", args[5]);
            windows.click("CommandButton1");
            windows.answer(ui::Answer::Yes);
        } else if (command == "line-load" && args.size() >= 4) {
            clickRow(std::stoi(args[3]));
        } else if (command == "line-duplicate" && args.size() >= 5) {
            clickRow(std::stoi(args[3]));
            windows.click("CommandButton6");
            windows.typeText("TextBox4", args[4]);
            windows.click("CommandButton1");
            windows.answer(ui::Answer::Yes);
        } else if (command == "line-delete") {
            clickRow(std::stoi(args[3]));
            windows.click("CommandButton2");
            windows.answer(ui::Answer::Yes);
        } else {
            throw std::runtime_error("unknown command or missing arguments: " + command);
        }
        lines::ShowLineEditor(ctx);
        if (windows.stepsLeft()) throw std::runtime_error("the line editor did not take every step");
    } else {
        throw std::runtime_error("unknown command or missing arguments: " + command);
    }
    } catch (const core::ProgramEnded&) {
        for (const std::string& message : windows.messages()) std::cerr << message << "\n";
        throw;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemoryForReuse();  // as the program does
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto noPrefault = std::find(args.begin(), args.end(), "--no-heap-prefault");
    if (noPrefault != args.end() && noPrefault - args.begin() <= 1)
        args.erase(noPrefault);
    else
        office::io::setHeapPreparer([](std::size_t bytes) { platform::PrefaultHeap(bytes); });
    try {
        return run(std::move(args));
    } catch (const core::ProgramEnded&) {
        std::cerr << "the program ended early\n";
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
    }
    return 1;
}
