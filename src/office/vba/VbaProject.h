#pragma once
// A macro (VBA) project as an .xls file holds it in its `_VBA_PROJECT_CUR`
// storage: modules with their source, the references to type libraries, and
// the protection that locks it for viewing. Written as source only, without
// the compiled cache, so Excel compiles it when it opens the file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "office/cfb/CompoundFile.h"

namespace office::vba {

enum class ModuleKind : std::uint8_t {
    Standard,  // a module of procedures ("Module1")
    Class,
    Document,  // the code behind the workbook or one of its sheets
    Form,      // a UserForm: code plus a designer storage
};

// The VB_Base attribute of a document module says what it stands behind.
inline constexpr std::string_view kWorkbookBase = "0{00020819-0000-0000-C000-000000000046}";
inline constexpr std::string_view kWorksheetBase = "0{00020820-0000-0000-C000-000000000046}";
inline constexpr std::string_view kChartBase = "0{00020821-0000-0000-C000-000000000046}";

// What the designer storage of a form records: its caption and client area in
// twips. The forms written here have no controls of their own (their code
// makes them at run time).
struct FormDesigner {
    std::string caption;
    int clientLeft = 45;
    int clientTop = 435;
    int clientWidth = 4710;
    int clientHeight = 3120;
};

struct Module {
    std::string name;  // VB_Name; also the name of its stream and designer storage
    ModuleKind kind = ModuleKind::Standard;
    // The "Attribute ..." lines that follow VB_Name at the head of the source
    // (VB_Base, VB_Exposed, ...), without line ends.
    std::vector<std::string> attributes;
    std::string code;  // the source after the attribute lines; lines end with CR LF
    bool isPrivate = false;  // usable only inside the project (forms are)
    FormDesigner designer;   // forms
    // A form read from a file keeps its designer storage as it was (its
    // controls); written as it stands.
    std::optional<cfb::Node> keptDesigner;

    // The value of one attribute line ("VB_Base"), without quotes; "" if absent.
    std::string attribute(std::string_view name) const;
};

// A reference to a type library, kept as its records in the `dir` stream.
struct Reference {
    std::string name;
    std::vector<std::uint8_t> records;  // the records after REFERENCENAME
};

struct Protection {
    std::uint32_t state = 0;                       // CMG: 1 user protected, 2 host, 4 editor
    std::vector<std::uint8_t> password = {0x00};  // DPB: see passwordOpens
    std::uint8_t visibility = 0xFF;                // GC: 0xFF visible, 0x00 locked for viewing

    bool lockedForViewing() const { return visibility == 0x00; }
};

struct Project {
    std::string name = "VBAProject";
    std::string id;                    // "{GUID}"; a new random one when empty at writing
    std::uint16_t codePage = 1252;     // of names and source
    std::vector<Reference> references;
    std::vector<Module> modules;
    Protection protection;

    // By name, ignoring case; nullptr when absent.
    Module* module(std::string_view name);
    const Module* module(std::string_view name) const;
};

// A name the editor accepts for a project or module: a letter, then
// letters, digits and underscores, at most 31 characters.
bool isValidName(std::string_view name);

// The attribute lines Excel writes for a new module: a document module
// behind `base` (kWorkbookBase, ...), or a form with its own new class ids.
std::vector<std::string> documentAttributes(std::string_view base);
std::vector<std::string> formAttributes();

// What the editor's CodeModule.AddFromString does: the text's lines (ended
// by CR, LF or CR LF) go before the module's first procedure, or at its end
// when it has none, each ending with CR LF.
void addFromString(Module& module, std::string_view text);

// The references a new project needs: OLE Automation, and the Forms library
// once it has a form. Adds what is missing.
void addStandardReferences(Project& project);

// Locks the project for viewing with a password (not empty; AutomationError
// 1004 otherwise): protection state, a hash of the password with a new random
// key, and "not visible", as Excel's project properties do.
void lockForViewing(Project& project, std::string_view utf8Password);
// Whether the password would open the project in the editor.
bool passwordOpens(const Project& project, std::string_view utf8Password);

// The project's storage, named "_VBA_PROJECT_CUR". A module name that is not
// a valid identifier, or used twice, raises AutomationError 1004.
cfb::Node writeProjectStorage(const Project& project);

// Reads a project storage (the `_VBA_PROJECT_CUR` of an .xls). A storage that
// is not a readable project (a stream missing, a damaged `dir`, a module
// stream shorter than its offset) raises AutomationError 1004.
Project readProjectStorage(const cfb::Node& storage);

// A new random GUID in registry form, "{XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX}".
std::string newGuid();

inline constexpr std::string_view kStorageName = "_VBA_PROJECT_CUR";

}  // namespace office::vba
