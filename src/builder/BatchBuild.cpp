#include "builder/BatchBuild.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "automation/AutomationError.h"
#include "builder/BuildPresentation.h"
#include "core/ProgramEnd.h"
#include "core/Text.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "text/CaseFold.h"
#include "text/Collation.h"

namespace builder {

namespace {

const char kSeparator = '/';

// The value after option `k`, which must be there.
bool takeValue(const std::vector<std::string>& arguments, std::size_t& k, std::string& value, std::string& error) {
    if (k + 1 >= arguments.size()) {
        error = arguments[k] + " needs a value.";
        return false;
    }
    value = arguments[++k];
    return true;
}

// The first line of the file, trimmed as a typed answer is; nothing when it cannot be read.
std::optional<std::string> readPassword(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "The password file cannot be read: " + path;
        return std::nullopt;
    }
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return core::Trim(line);
}

// The groups of the base workbook, each once (the first spelling met), in
// the order the main window lists them. The base workbook is opened and
// closed again; the read leaves it unchanged.
std::vector<std::string> readGroups(core::Context& ctx) {
    std::vector<std::string> groups;
    store::OpenBaseWorkbook(ctx);
    try {
        auto& data = *ctx.state.DataSheet;
        std::map<std::string, bool> seen;
        for (long row = store::kFirstLineRow; row <= store::kLastLineRow; ++row) {
            if (core::Trim(data.Cells(row, store::kColId)->Value().toText()).empty()) break;
            std::string group = core::Trim(data.Cells(row, store::kColGroup)->Value().toText());
            if (!group.empty() && seen.emplace(text::foldCase(group), true).second) groups.push_back(group);
        }
    } catch (...) {
        store::CloseBaseWorkbookDiscard(ctx);
        throw;
    }
    store::CloseBaseWorkbookDiscard(ctx);
    std::sort(groups.begin(), groups.end(),
              [](const std::string& a, const std::string& b) { return text::compareForDisplay(a, b) < 0; });
    return groups;
}

std::string progressLine(const core::Context& ctx, const BuildProgress& progress) {
    return std::to_string(progress.done) + "/" + std::to_string(progress.total) + " " +
           (progress.canceled ? ctx.tr("canceled: ", "eliminata: ") : ctx.tr("carried: ", "riportata: ")) +
           progress.description;
}

// One group built; the exit status of its build.
int buildGroup(core::Context& ctx, ui::ConsoleWindowSystem& console, const std::string& group,
               const std::string& version, const std::string& password) {
    ctx.state.SelectedGroup = group;
    ctx.state.PresentationPath.clear();
    console.clearAnswers();
    console.queueAnswer(version);
    console.queueAnswer(password);
    int status = 9;
    try {
        BuildPresentation(ctx, status, [&](const BuildProgress& progress) {
            if (progress.total > 0 && progress.done > 0) console.printLine(progressLine(ctx, progress));
        });
    } catch (const core::ProgramEnded&) {
        return kBatchNothingBuilt;  // the reason was printed on the way
    }
    if (status == 9) return kBatchNothingBuilt;
    console.printLine(ui::ConsoleLines(BuildReport(ctx, status)));
    return status == 1 ? kBatchBuiltWithErrors : kBatchBuilt;
}

std::string summaryLine(const core::Context& ctx, const std::string& group, int status) {
    switch (status) {
    case kBatchBuilt: return group + ": " + ctx.tr("built: ", "creata: ") + ctx.state.PresentationPath;
    case kBatchBuiltWithErrors:
        return group + ": " + ctx.tr("built with some lines left out: ", "creata con righe eliminate: ") +
               ctx.state.PresentationPath;
    default: return group + ": " + ctx.tr("nothing built", "nessuna Presentazione creata");
    }
}

// Settles the process-wide values for the folder; false (the reason
// printed) when the folder or its base workbook cannot be used.
bool settleDataFolder(core::Context& ctx, ui::ConsoleWindowSystem& console, const BatchRequest& request) {
    core::AppState& state = ctx.state;
    state.LanguageCode = request.languageCode;
    ctx.windows.setLanguage(state.LanguageCode);
    state.DataFolder = request.dataFolder;
    if (state.DataFolder.empty() || state.DataFolder.back() != kSeparator) state.DataFolder += kSeparator;
    store::InitFixedSettings(state);
    try {
        state.FileSystem = ctx.objects.CreateFileSystem();
        state.FileSystem->GetFolder(state.DataFolder);
    } catch (const automation::AutomationError& error) {
        console.printLine(ui::ConsoleLines("Error!!!!\r" + std::to_string(error.number()) + "    " +
                                           error.description() + "\r" + state.DataFolder));
        return false;
    }
    if (!state.FileSystem->FileExists(state.DataFolder + state.BaseFileName)) {
        console.printLine(ctx.tr("The data folder holds no ", "La cartella dati non contiene ") + state.BaseFileName +
                          ": " + state.DataFolder);
        return false;
    }
    return true;
}

}  // namespace

bool IsBatchRequest(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), "--build") != arguments.end();
}

std::string BatchUsage() {
    return "Usage: Tavolex --build \"<data folder>\" (--group \"<GroupName>\" | --all) --version \"<version>\"\n"
           "               [--password-file FILE] [--language I]";
}

std::optional<BatchRequest> ParseBatchArguments(const std::vector<std::string>& arguments, std::string& error) {
    BatchRequest request;
    bool haveFolder = false, haveGroup = false, haveVersion = false;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string& option = arguments[k];
        std::string value;
        if (option == "--all") {
            request.all = true;
            continue;
        }
        if (option != "--build" && option != "--group" && option != "--version" && option != "--password-file" &&
            option != "--language") {
            error = "Unknown argument: " + option;
            return std::nullopt;
        }
        if (!takeValue(arguments, k, value, error)) return std::nullopt;
        if (option == "--build") {
            request.dataFolder = value;
            haveFolder = true;
        } else if (option == "--group") {
            request.group = core::Trim(value);
            haveGroup = true;
        } else if (option == "--version") {
            request.version = value;
            haveVersion = true;
        } else if (option == "--password-file") {
            request.passwordFile = value;
        } else {
            request.languageCode = core::UpperAscii(core::Trim(value)) == "I" ? "I" : "E";
        }
    }
    if (!haveFolder || request.dataFolder.empty())
        error = "--build needs the data folder.";
    else if (haveGroup == request.all)
        error = "Give either --group or --all.";
    else if (haveGroup && request.group.empty())
        error = "--group needs a GroupName.";
    else if (!haveVersion)
        error = "--version is missing.";
    if (!error.empty()) return std::nullopt;
    return request;
}

int RunBatchBuild(core::Context& ctx, ui::ConsoleWindowSystem& console, const BatchRequest& request) {
    // The answers are checked as the prompts would check them: a batch run
    // cannot be asked again.
    const std::string version = core::Trim(request.version);
    std::string password;
    if (request.passwordFile) {
        std::string error;
        auto read = readPassword(*request.passwordFile, error);
        if (!read) {
            console.printLine(error);
            return kBatchNothingBuilt;
        }
        password = *read;
    }
    ctx.state.LanguageCode = request.languageCode;
    if (version.empty()) {
        console.printLine(ctx.tr("A Presentation Version is needed (--version).",
                                 "Serve una Versione della Presentazione (--version)."));
        return kBatchNothingBuilt;
    }
    for (const std::string& complaint : {VersionComplaint(ctx, version), PasswordComplaint(ctx, password)}) {
        if (complaint.empty()) continue;
        console.printLine(complaint);
        return kBatchNothingBuilt;
    }

    try {
        if (!settleDataFolder(ctx, console, request)) return kBatchNothingBuilt;
        std::vector<std::string> groups = readGroups(ctx);
        if (!request.all) {
            auto found = std::find_if(groups.begin(), groups.end(), [&](const std::string& group) {
                return text::equalsIgnoringCase(group, request.group);
            });
            if (found == groups.end()) {
                console.printLine(ctx.tr("No such group: ", "Gruppo inesistente: ") + request.group);
                return kBatchNothingBuilt;
            }
            return buildGroup(ctx, console, *found, version, password);
        }
        if (groups.empty()) {
            console.printLine(ctx.tr("The base workbook holds no group.", "Il file base non contiene gruppi."));
            return kBatchNothingBuilt;
        }
        int worst = kBatchBuilt;
        std::vector<std::string> summary;
        for (const std::string& group : groups) {
            const int status = buildGroup(ctx, console, group, version, password);
            summary.push_back(summaryLine(ctx, group, status));
            worst = std::max(worst, status);
        }
        for (const std::string& line : summary) console.printLine(line);
        return worst;
    } catch (const core::ProgramEnded&) {
        return kBatchNothingBuilt;  // the store said why
    } catch (const automation::AutomationError& error) {
        console.printLine(ui::ConsoleLines("Not recoverable error!!!!\r" + std::to_string(error.number()) + "    " +
                                           error.description()));
        store::CloseBaseWorkbookDiscard(ctx);
        return kBatchNothingBuilt;
    }
}

}  // namespace builder
