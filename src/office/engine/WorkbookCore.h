#pragma once
// The state behind the engine's object handles. Handles (workbooks, sheets,
// ranges) are light and may be many; they all point at one WorkbookCore, which
// points at the ApplicationState, so a Quit or a Close is seen by every handle.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <functional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "automation/Excel.h"
#include "automation/Pictures.h"
#include "office/engine/AtomicFile.h"
#include "office/engine/CellAddress.h"
#include "office/engine/FileLock.h"
#include "office/model/WorkbookModel.h"

namespace office::engine {

struct WorkbookCore;
struct MacroProjectState;

// What Find last searched for; FindNext repeats it, as in Excel.
struct FindSettings {
    automation::Variant what;
    automation::excel::LookAt lookAt = automation::excel::LookAt::Part;
};

// What Range.Copy put on the clipboard: a block of a sheet, read when pasted.
struct CopiedCells {
    std::weak_ptr<WorkbookCore> book;
    std::uint64_t sheetId = 0;
    RangeBounds bounds;
};

// What CopyPicture put there: a picture and the size it shows at.
struct CopiedPicture {
    automation::Picture picture;
    double widthPt = 0, heightPt = 0;
};

// A chart to draw: its substream in the workbook whose cells and palette it uses.
struct ChartToDraw {
    const WorkbookModel& workbook;
    std::span<const std::uint8_t> chartStream;
    double widthPt = 0, heightPt = 0;
};
using ChartDrawer = std::function<automation::Picture(const ChartToDraw&)>;

struct ApplicationState {
    bool quit = false;
    int nextBookNumber = 1;
    std::chrono::milliseconds lockWait = kInteractiveLockWait;
    std::optional<FindSettings> lastFind;
    std::vector<std::shared_ptr<WorkbookCore>> openBooks;  // in opening order; the last is active
    std::weak_ptr<WorkbookCore> activeVbProject;  // the macro editor's choice; the active workbook's when none
    // Draws chart pictures and object icons; none in builds without a drawing
    // library, where asking for a picture raises an error.
    std::shared_ptr<automation::PictureMaker> pictures;
    // How chart pictures are made; when empty, the engine reads the chart and
    // asks `pictures`.
    ChartDrawer drawChart;
    std::variant<std::monostate, CopiedCells, CopiedPicture> clipboard;

    // Raises when Quit has ended the instance.
    void checkRunning() const;
};

struct WorkbookCore {
    std::shared_ptr<ApplicationState> app;
    WorkbookModel model;
    std::vector<std::uint64_t> sheetIds;  // stable identity of model.sheets[i]
    std::uint64_t nextSheetId = 1;

    std::string name;      // "Book1" until first saved
    std::string fullPath;  // "" until first saved
    std::string password;  // open password used when saving
    bool readOnly = false;
    // The reason (an errno value) when the file or its folder may not be
    // written; 0 when writable, or read-only because asked or busy.
    int unwritableError = 0;
    bool closed = false;
    automation::excel::WindowState windowState = automation::excel::WindowState::Normal;
    FileLock lock;
    FileStamp stamp;  // the file as last read or written
    // The macro project as the editor works on it; made on its first use.
    std::shared_ptr<MacroProjectState> macroProject;

    // Raises when the application quit or this workbook was closed.
    void checkUsable() const;
    // Index of the sheet with `id`, nullopt once it was deleted.
    std::optional<std::size_t> indexOf(std::uint64_t id) const;
    // Gives every sheet a new id; sheets keep theirs when their name matches
    // one of `previous` (used after re-reading the file).
    void assignSheetIds(const std::vector<std::pair<std::string, std::uint64_t>>& previous = {});
    std::uint64_t insertSheet(std::size_t index, SheetModel sheet);
    void eraseSheet(std::size_t index);

    // Takes the writer's lock, waiting up to `wait`, when the file and its
    // folder may be written; sets readOnly, and unwritableError when they
    // may not (a read-only file, folder or file system is no failure: the
    // workbook opens read-only and only saving fails).
    void takeWriteAccess(std::chrono::milliseconds wait);
    // Writes the model to `path` with `withPassword`, atomically.
    void writeTo(const std::string& path, const std::string& withPassword);
    // Marks the workbook closed, drops its lock and leaves the application's list.
    void close();
    // Makes it the application's active workbook.
    void activate();
};

// Raises AutomationError 1004 with `description`.
[[noreturn]] void raise(const std::string& description);

}  // namespace office::engine
