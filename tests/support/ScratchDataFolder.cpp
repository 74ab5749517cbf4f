#include "support/ScratchDataFolder.h"

#include <chrono>
#include <stdexcept>

#include "builder/BuildPresentation.h"
#include "store/BaseWorkbook.h"

namespace testsupport {

namespace fs = std::filesystem;

ScratchDataFolder::ScratchDataFolder(const std::string& hint) : folder_(hint) {
    windows.autoAcknowledge = true;
    ctx.state.DataFolder = folder_.withSeparator();
    ctx.state.FileSystem = objects.CreateFileSystem();
    store::InitFixedSettings(ctx.state);
}

std::string ScratchDataFolder::copySample(const std::string& name) const {
    const fs::path copy = path() / name;
    fs::copy_file(sharedSample(name), copy, fs::copy_options::overwrite_existing);
    return copy.string();
}

void ScratchDataFolder::writeBase(const std::function<void(automation::excel::Worksheet& data)>& fill) {
    store::CreateBaseWorkbook(ctx, ctx.state.DataFolder);
    store::OpenBaseWorkbook(ctx);
    fill(*ctx.state.DataSheet);
    store::SaveAndCloseBaseWorkbook(ctx);
}

std::string ScratchDataFolder::buildPresentation(const std::string& group, const std::string& version,
                                                const std::string& password) {
    ctx.state.SelectedGroup = group;
    windows.answerInput(version);
    windows.answerInput(password);
    int status = -1;
    builder::BuildPresentation(ctx, status, {});
    if (status != 0 || ctx.state.PresentationPath.empty())
        throw std::runtime_error("the Presentation of \"" + ctx.state.SelectedGroup + "\" was not built (status " +
                                 std::to_string(status) + ")");
    return ctx.state.PresentationPath;
}

std::optional<double> ScratchDataFolder::secondsToFeedback(const std::function<void()>& click) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point pauseStart{};
    windows.onDoEvents = [&] {
        if (pauseStart == Clock::time_point{}) pauseStart = Clock::now();
    };
    const auto start = Clock::now();
    click();
    windows.onDoEvents = nullptr;
    if (pauseStart == Clock::time_point{}) return std::nullopt;
    return std::chrono::duration<double>(pauseStart - start).count();
}

void writeRow(automation::excel::Worksheet& sheet, long row, std::initializer_list<automation::Variant> cells) {
    long column = 0;
    for (const automation::Variant& value : cells) sheet.Cells(row, ++column)->SetValue(value);
}

}  // namespace testsupport
