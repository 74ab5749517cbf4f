#pragma once
// A Presentation as the player reads it: the settings text, the lines of its
// "DATA" sheet, which frozen sheets it holds and its embedded objects. The
// workbook is opened read-only and never written.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/Excel.h"

namespace player {

// The settings text of DATA!L1: four fields joined by "|".
struct PresentationSettings {
    std::string subtitle;  // the version the build was given
    std::string title;
    std::string language;
    std::string password;
};

// Splits at the first three "|" and trims each field; nothing when the text
// has fewer than three.
std::optional<PresentationSettings> ParseSettingsText(const std::string& text);

struct PresentationLine {
    long row = 0;  // of "DATA"
    std::string group;
    std::string exclusion;
    std::string description;
    std::string fileName;
    std::string inputSheet;
    std::string outputSheet;
    std::string objectName;
    double firstPage = 0;  // a blank counts as 0
    double lastPage = 0;

    // "S" and "V" lines stay out of the menu; "S" and "P" lines out of printing.
    bool listed() const;
    bool printed() const;
    // "XLS", "DOC", "PPT" or whatever else follows the last "." (upper case).
    std::string kind() const;
    // A frozen sheet of the Presentation; otherwise an embedded object.
    bool isSheet() const { return !outputSheet.empty(); }
};

struct EmbeddedObject {
    std::string name;      // as column H of "DATA" names it
    std::string progId;    // "Word.Document.8", "PowerPoint.Show.8", "Package"
    std::string fileName;  // a package's own file name; "" for a document
};

class PresentationFile {
public:
    // Opens `path` read-only in `excel` and reads it; AutomationError with a
    // message that names the file when it cannot be read or is no Presentation.
    static PresentationFile Open(automation::excel::Application& excel, const std::string& path);

    const std::string& path() const { return path_; }
    const PresentationSettings& settings() const { return settings_; }
    // Rows 2 up to the first empty id, every exclusion included.
    const std::vector<PresentationLine>& lines() const { return lines_; }
    // The group name of the last row read; "" without lines.
    std::string groupName() const { return lines_.empty() ? std::string() : lines_.back().group; }
    // Worksheet names other than "START" and "DATA", in workbook order.
    const std::vector<std::string>& frozenSheets() const { return frozenSheets_; }
    bool hasSheet(const std::string& name) const;
    const std::vector<EmbeddedObject>& objects() const { return objects_; }
    const EmbeddedObject* object(const std::string& name) const;

    // The open workbook, for drawing its sheets and extracting its objects.
    const std::shared_ptr<automation::excel::Workbook>& workbook() const { return workbook_; }
    void close();

private:
    void read();

    std::string path_;
    std::shared_ptr<automation::excel::Workbook> workbook_;
    PresentationSettings settings_;
    std::vector<PresentationLine> lines_;
    std::vector<std::string> frozenSheets_;
    std::vector<EmbeddedObject> objects_;
};

}  // namespace player
