#include "player/PresentationFile.h"

#include "automation/AutomationError.h"
#include "core/Text.h"
#include "store/BaseWorkbook.h"
#include "store/DataLayout.h"
#include "text/CaseFold.h"

namespace player {

namespace excel = automation::excel;
using automation::AutomationError;

namespace {

std::string cellText(excel::Worksheet& sheet, long row, long column) {
    return core::Trim(sheet.Cells(row, column)->Value().toText());
}

// A blank page cell counts as 0, as does a text that is no number.
double cellNumber(excel::Worksheet& sheet, long row, long column) {
    return sheet.Cells(row, column)->Value().toNumber();
}

bool codeIs(const std::string& code, const char* letter) { return text::equalsIgnoringCase(code, letter); }

}  // namespace

std::optional<PresentationSettings> ParseSettingsText(const std::string& text) {
    const auto first = text.find('|');
    if (first == std::string::npos) return std::nullopt;
    const auto second = text.find('|', first + 1);
    if (second == std::string::npos) return std::nullopt;
    const auto third = text.find('|', second + 1);
    if (third == std::string::npos) return std::nullopt;
    PresentationSettings settings;
    settings.subtitle = core::Trim(text.substr(0, first));
    settings.title = core::Trim(text.substr(first + 1, second - first - 1));
    settings.language = core::Trim(text.substr(second + 1, third - second - 1));
    settings.password = core::Trim(text.substr(third + 1));
    return settings;
}

bool PresentationLine::listed() const { return !codeIs(exclusion, "S") && !codeIs(exclusion, "V"); }
bool PresentationLine::printed() const { return !codeIs(exclusion, "S") && !codeIs(exclusion, "P"); }
std::string PresentationLine::kind() const { return core::UpperAscii(store::FileExtension(fileName)); }

PresentationFile PresentationFile::Open(excel::Application& excel, const std::string& path) {
    PresentationFile file;
    file.path_ = path;
    try {
        excel::OpenOptions options;
        options.readOnly = true;
        file.workbook_ = excel.GetWorkbooks().Open(path, options);
    } catch (const AutomationError& error) {
        throw AutomationError(error.number(), "\"" + path + "\" cannot be opened: " + error.description(),
                              error.file(), error.offset());
    }
    try {
        file.read();
    } catch (...) {
        file.close();
        throw;
    }
    return file;
}

void PresentationFile::read() {
    auto notPresentation = [&](const std::string& why) {
        return AutomationError(automation::errnum::kApplicationDefined,
                               "\"" + path_ + "\" is not a Tavolex Presentation: " + why);
    };
    std::shared_ptr<excel::Worksheet> data;
    for (long index = 1; index <= workbook_->WorksheetCount(); ++index) {
        auto sheet = workbook_->WorksheetAt(index);
        const std::string name = sheet->Name();
        if (text::equalsIgnoringCase(name, store::kDataSheet))
            data = sheet;
        else if (!text::equalsIgnoringCase(name, store::kStartSheet))
            frozenSheets_.push_back(name);
    }
    if (!data) throw notPresentation("it has no \"DATA\" sheet.");
    const auto settings = ParseSettingsText(data->Cells(store::kSettingsRow, store::kSettingsColumn)->Value().toText());
    if (!settings) throw notPresentation("its \"DATA\" sheet holds no settings text in cell L1.");
    settings_ = *settings;

    for (long row = store::kFirstLineRow; row <= store::kLastLineRow; ++row) {
        if (cellText(*data, row, store::kColId).empty()) break;
        PresentationLine line;
        line.row = row;
        line.group = cellText(*data, row, store::kColGroup);
        line.exclusion = cellText(*data, row, store::kColExclusion);
        line.description = cellText(*data, row, store::kColDescription);
        line.fileName = cellText(*data, row, store::kColFileName);
        line.inputSheet = cellText(*data, row, store::kColInputSheet);
        line.outputSheet = cellText(*data, row, store::kColOutputSheet);
        line.objectName = cellText(*data, row, store::kColObjectName);
        line.firstPage = cellNumber(*data, row, store::kColFirstPage);
        line.lastPage = cellNumber(*data, row, store::kColLastPage);
        lines_.push_back(std::move(line));
    }

    for (long index = 1; index <= data->OLEObjectCount(); ++index) {
        auto object = data->OLEObjects(index);
        objects_.push_back({object->Name(), object->progID(), object->FileName()});
    }
}

bool PresentationFile::hasSheet(const std::string& name) const {
    for (const std::string& sheet : frozenSheets_)
        if (text::equalsIgnoringCase(sheet, name)) return true;
    return false;
}

const EmbeddedObject* PresentationFile::object(const std::string& name) const {
    for (const EmbeddedObject& object : objects_)
        if (text::equalsIgnoringCase(object.name, name)) return &object;
    return nullptr;
}

void PresentationFile::close() {
    if (!workbook_) return;
    try {
        workbook_->Close(false);
    } catch (const AutomationError&) {
        // A workbook opened read-only has nothing to lose.
    }
    workbook_.reset();
}

}  // namespace player
