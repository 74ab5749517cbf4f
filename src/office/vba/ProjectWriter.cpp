// Writes a macro project as Excel 2003 lays it out in an .xls, without the
// compiled cache: `_VBA_PROJECT` says "version unknown", so Excel compiles the
// source on opening. Record order and fixed values follow Excel's own files.
#include <algorithm>
#include <cctype>

#include "automation/AutomationError.h"
#include "office/crypto/Crypto.h"
#include "text/Utf.h"
#include "office/vba/CodePage.h"
#include "office/vba/Compression.h"
#include "office/vba/ProjectRecords.h"
#include "office/vba/Protection.h"
#include "office/vba/VbaProject.h"

namespace office::vba {
namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void refuse(const std::string& what) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined, what);
}

const std::string kZeroId = "{00000000-0000-0000-0000-000000000000}";
const std::string kCrLf = "\r\n";

// "Source only" header of `_VBA_PROJECT`: reserved 0x61CC, version 0xFFFF, 0x00, reserved 0.
const Bytes kVbaProjectStream = {0xCC, 0x61, 0xFF, 0xFF, 0x00, 0x00, 0x00};

// The CompObj stream of a Forms designer, as Excel writes it for every form.
Bytes formCompObj() {
    Bytes out = {0x01, 0x00, 0xFE, 0xFF, 0x03, 0x0A, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    out.insert(out.end(), 16, 0x00);  // no class id
    const auto lengthPrefixed = [&out](std::string_view text) {
        const auto n = static_cast<std::uint32_t>(text.size() + 1);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0x00);
    };
    lengthPrefixed("Microsoft Forms 2.0 Form");
    lengthPrefixed("Embedded Object");
    out.insert(out.end(), {0x00, 0x00, 0x00, 0x00});  // no program id
    out.insert(out.end(), {0xF4, 0x39, 0xB2, 0x71});  // marker: Unicode strings follow
    out.insert(out.end(), 12, 0x00);                  // all three empty
    return out;
}


Bytes bytesOf(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes utf16Bytes(std::string_view utf8) {
    const std::u16string units = text::utf8ToUtf16(utf8);
    Bytes out;
    out.reserve(units.size() * 2);
    for (char16_t u : units) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

class RecordWriter {
public:
    explicit RecordWriter(std::uint16_t codePage = 1252) : codePage_(codePage) {}
    Bytes& bytes() { return out_; }
    void u16(std::uint16_t v) {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void raw(const Bytes& b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void record(std::uint16_t id, const Bytes& body) {
        u16(id);
        u32(static_cast<std::uint32_t>(body.size()));
        raw(body);
    }
    void record32(std::uint16_t id, std::uint32_t value) {
        u16(id);
        u32(4);
        u32(value);
    }
    void record16(std::uint16_t id, std::uint16_t value) {
        u16(id);
        u32(2);
        u16(value);
    }
    void empty(std::uint16_t id) {
        u16(id);
        u32(0);
    }
    // A name in the code page and again in UTF-16.
    void names(std::uint16_t id, std::uint16_t unicodeId, std::string_view utf8) {
        record(id, bytesOf(toCodePage(utf8, codePage_)));
        record(unicodeId, utf16Bytes(utf8));
    }

private:
    std::uint16_t codePage_;
    Bytes out_;
};

// Libid strings: "*\G{typelib}#version#lcid#path#description".
Bytes libidField(std::string_view libid) {
    RecordWriter w;
    w.u32(static_cast<std::uint32_t>(libid.size()));
    w.raw(bytesOf(libid));
    return w.bytes();
}

Reference registeredReference(std::string name, std::string_view libid) {
    RecordWriter w;
    Bytes body = libidField(libid);
    body.insert(body.end(), 6, 0x00);  // two reserved fields
    w.record(rec::kReferenceRegistered, body);
    return {std::move(name), w.bytes()};
}

// The Forms library as the editor refers to it once a form exists: the
// original type library, the "twiddled" one and the extended one the editor
// caches (it rebuilds that cache when the path does not exist).
Reference formsReference() {
    constexpr std::string_view kOriginal =
        "*\\G{0D452EE1-E08F-101A-852E-02608C4D0BB4}#2.0#0#C:\\Windows\\system32\\FM20.DLL#Microsoft Forms 2.0 Object Library";
    constexpr std::string_view kTwiddled = "*\\G{00000000-0000-0000-0000-000000000000}#0.0#0##";
    const std::string extended = "*\\G" + newGuid() +
                                 "#2.0#0#C:\\Windows\\Temp\\Excel8.0\\MSForms.exd#Microsoft Forms 2.0 Object Library";
    RecordWriter w;
    w.u16(rec::kReferenceOriginal);
    w.raw(libidField(kOriginal));
    Bytes twiddled = libidField(kTwiddled);
    twiddled.insert(twiddled.end(), 6, 0x00);
    w.record(rec::kReferenceControl, twiddled);
    w.names(rec::kReferenceName, rec::kReferenceNameUnicode, "MSForms");
    Bytes ext = libidField(extended);
    ext.insert(ext.end(), 6, 0x00);
    const cfb::Clsid original = cfb::clsidFromString("{0D452EE1-E08F-101A-852E-02608C4D0BB4}");
    ext.insert(ext.end(), original.begin(), original.end());
    ext.insert(ext.end(), {0x02, 0x00, 0x00, 0x00});  // cookie
    w.record(rec::kReferenceControlExtended, ext);
    return {"MSForms", w.bytes()};
}

bool isIdentifierText(std::string_view name) {
    if (name.empty() || name.size() > 31) return false;
    const auto c0 = static_cast<unsigned char>(name[0]);
    if (!(std::isalpha(c0) || c0 >= 0x80)) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || u == '_' || u >= 0x80;
    });
}

// A module's name as it reads back from the code page, which is also the
// name of its stream and designer storage.
std::string storedName(const Module& m, std::uint16_t codePage) {
    return fromCodePage(toCodePage(m.name, codePage), codePage);
}

void checkNames(const Project& project) {
    if (!isValidName(project.name)) refuse("'" + project.name + "' is not a valid name for a macro project.");
    for (std::size_t i = 0; i < project.modules.size(); ++i) {
        const std::string& name = project.modules[i].name;
        if (!isValidName(name)) refuse("'" + name + "' is not a valid name for a macro module.");
        // Names the project's own streams and storages already have.
        for (std::string_view taken : {"dir", "VBA", "PROJECT", "PROJECTwm", "PROJECTlk"})
            if (cfb::compareNames(storedName(project.modules[i], project.codePage), taken) == 0)
                refuse("'" + name + "' is not a valid name for a macro module.");
        for (std::size_t j = 0; j < i; ++j)
            if (cfb::compareNames(storedName(project.modules[j], project.codePage),
                                  storedName(project.modules[i], project.codePage)) == 0)
                refuse("The macro project has two modules named '" + name + "'.");
    }
}

Bytes moduleSource(const Module& module, std::uint16_t codePage) {
    std::string source = "Attribute VB_Name = \"" + module.name + "\"" + kCrLf;
    for (const std::string& line : module.attributes) source += line + kCrLf;
    source += module.code;
    const std::string bytes = toCodePage(source, codePage);
    return compress({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

Bytes dirStream(const Project& project) {
    RecordWriter w(project.codePage);
    w.record32(rec::kSysKind, rec::kSysKindWin32);
    w.record32(rec::kLcid, rec::kLcidEnglishUs);
    w.record32(rec::kLcidInvoke, rec::kLcidEnglishUs);
    w.record16(rec::kCodePage, project.codePage);
    w.record(rec::kName, bytesOf(toCodePage(project.name, project.codePage)));
    w.empty(rec::kDocString);
    w.empty(rec::kDocStringUnicode);
    w.empty(rec::kHelpFilePath);
    w.empty(rec::kHelpFilePath2);
    w.record32(rec::kHelpContext, 0);
    w.record32(rec::kLibFlags, 0);
    w.u16(rec::kVersion);
    w.u32(4);
    w.u32(1);  // major
    w.u16(0);  // minor
    w.empty(rec::kConstants);
    w.empty(rec::kConstantsUnicode);
    for (const Reference& ref : project.references) {
        if (!ref.name.empty()) w.names(rec::kReferenceName, rec::kReferenceNameUnicode, ref.name);
        w.raw(ref.records);
    }
    w.record16(rec::kModules, static_cast<std::uint16_t>(project.modules.size()));
    w.record16(rec::kProjectCookie, rec::kCookie);
    for (const Module& m : project.modules) {
        w.names(rec::kModuleName, rec::kModuleNameUnicode, m.name);
        w.names(rec::kModuleStreamName, rec::kModuleStreamNameUnicode, m.name);
        w.empty(rec::kModuleDocString);
        w.empty(rec::kModuleDocStringUnicode);
        w.record32(rec::kModuleOffset, 0);  // the source starts the stream
        w.record32(rec::kModuleHelpContext, 0);
        w.record16(rec::kModuleCookie, rec::kCookie);
        w.empty(m.kind == ModuleKind::Standard ? rec::kModuleProcedural : rec::kModuleNonProcedural);
        if (m.isPrivate) w.empty(rec::kModulePrivate);
        w.empty(rec::kModuleTerminator);
    }
    w.empty(rec::kDirTerminator);
    return compress(w.bytes());
}

Bytes protectionState(const Protection& p) {
    return {static_cast<std::uint8_t>(p.state), static_cast<std::uint8_t>(p.state >> 8),
            static_cast<std::uint8_t>(p.state >> 16), static_cast<std::uint8_t>(p.state >> 24)};
}

std::string projectText(const Project& project, const std::string& id) {
    std::string out = "ID=\"" + id + "\"" + kCrLf;
    bool packageWritten = false;
    for (const Module& m : project.modules) {
        switch (m.kind) {
        case ModuleKind::Document: out += "Document=" + m.name + "/&H00000000" + kCrLf; break;
        case ModuleKind::Standard: out += "Module=" + m.name + kCrLf; break;
        case ModuleKind::Class: out += "Class=" + m.name + kCrLf; break;
        case ModuleKind::Form:
            if (!packageWritten) out += "Package=" + std::string(layout::kFormsPackage) + kCrLf;
            packageWritten = true;
            out += "BaseClass=" + m.name + kCrLf;
            break;
        }
    }
    out += "Name=\"" + project.name + "\"" + kCrLf;
    out += "HelpContextID=\"0\"" + kCrLf;
    out += "VersionCompatible32=\"393222000\"" + kCrLf;
    out += "CMG=\"" + obfuscate(protectionState(project.protection), id) + "\"" + kCrLf;
    out += "DPB=\"" + obfuscate(project.protection.password, id) + "\"" + kCrLf;
    out += "GC=\"" + obfuscate(Bytes{project.protection.visibility}, id) + "\"" + kCrLf;
    out += kCrLf + "[Host Extender Info]" + kCrLf;
    out += "&H00000001={3832D640-CF90-11CF-8E43-00A0C911005A};VBE;&H00000000" + kCrLf;
    out += "&H00000002={00020818-0000-0000-C000-000000000046};Excel8.0;&H00000000" + kCrLf;
    out += kCrLf + "[Workspace]" + kCrLf;
    for (const Module& m : project.modules)
        out += m.name + (m.kind == ModuleKind::Form ? "=0, 0, 0, 0, C, 22, 22, 814, 511, C" : "=0, 0, 0, 0, C") + kCrLf;
    return toCodePage(out, project.codePage);
}

Bytes projectWm(const Project& project) {
    Bytes out;
    for (const Module& m : project.modules) {
        const Bytes name = bytesOf(toCodePage(m.name, project.codePage));
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
        const Bytes wide = utf16Bytes(m.name);
        out.insert(out.end(), wide.begin(), wide.end());
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 0});
    return out;
}

// Twips to the HIMETRIC units of the form stream, rounded as Excel does.
std::uint32_t himetric(int twips) { return static_cast<std::uint32_t>((std::max(twips, 0) * 127 + 36) / 72); }

// An empty form (MS-OFORMS FormControl): version 4.0, property mask with the
// displayed size, logical size and draw buffer, no sites, no classes.
Bytes formStream(const FormDesigner& d) {
    RecordWriter w;
    w.u16(0x0400);  // minor 0, major 4
    w.u16(24);      // size of the data that follows up to the site data
    w.u32(0x08000C00);
    w.u32(32000);   // draw buffer
    w.u32(himetric(d.clientWidth));
    w.u32(himetric(d.clientHeight));
    w.u32(0);       // logical size
    w.u32(0);
    w.u16(0);       // no site classes
    w.u32(0);       // no sites
    w.u32(0);
    return w.bytes();
}

std::string vbFrame(const Module& m, std::uint16_t codePage) {
    const FormDesigner& d = m.designer;
    std::string out = "VERSION 5.00" + kCrLf;
    out += "Begin " + std::string(layout::kUserFormClass) + " " + m.name + " " + kCrLf;
    out += "   Caption         =   \"" + d.caption + "\"" + kCrLf;
    out += "   ClientHeight    =   " + std::to_string(d.clientHeight) + kCrLf;
    out += "   ClientLeft      =   " + std::to_string(d.clientLeft) + kCrLf;
    out += "   ClientTop       =   " + std::to_string(d.clientTop) + kCrLf;
    out += "   ClientWidth     =   " + std::to_string(d.clientWidth) + kCrLf;
    out += "   StartUpPosition =   1  'CenterOwner" + kCrLf;
    out += "End" + kCrLf;
    return toCodePage(out, codePage);
}

cfb::Node designerStorage(const Module& m, std::uint16_t codePage) {
    if (m.keptDesigner) {
        cfb::Node kept = *m.keptDesigner;
        kept.name = m.name;
        return kept;
    }
    cfb::Node storage;
    storage.name = m.name;
    storage.isStorage = true;
    storage.addStream(std::string(layout::kStreamCompObj), formCompObj());
    storage.addStream(std::string(layout::kStreamVbFrame), bytesOf(vbFrame(m, codePage)));
    storage.addStream(std::string(layout::kStreamForm), formStream(m.designer));
    storage.addStream(std::string(layout::kStreamObjects), {});
    return storage;
}

bool hasReference(const Project& project, std::string_view name) {
    return std::any_of(project.references.begin(), project.references.end(),
                       [name](const Reference& r) { return cfb::compareNames(r.name, name) == 0; });
}

}  // namespace

bool isValidName(std::string_view name) { return isIdentifierText(name); }

std::string Module::attribute(std::string_view name) const {
    const std::string prefix = "Attribute " + std::string(name) + " = ";
    for (const std::string& line : attributes) {
        if (line.size() < prefix.size() || cfb::compareNames(line.substr(0, prefix.size()), prefix) != 0) continue;
        std::string value = line.substr(prefix.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return {};
}

Module* Project::module(std::string_view name) {
    for (Module& m : modules)
        if (cfb::compareNames(m.name, name) == 0) return &m;
    return nullptr;
}

const Module* Project::module(std::string_view name) const { return const_cast<Project*>(this)->module(name); }

std::vector<std::string> documentAttributes(std::string_view base) {
    return {"Attribute VB_Base = \"" + std::string(base) + "\"", "Attribute VB_GlobalNameSpace = False",
            "Attribute VB_Creatable = False",  "Attribute VB_PredeclaredId = True",
            "Attribute VB_Exposed = True",     "Attribute VB_TemplateDerived = False",
            "Attribute VB_Customizable = True"};
}

std::vector<std::string> formAttributes() {
    return {"Attribute VB_Base = \"0" + newGuid() + newGuid() + "\"", "Attribute VB_GlobalNameSpace = False",
            "Attribute VB_Creatable = False",  "Attribute VB_PredeclaredId = True",
            "Attribute VB_Exposed = False",    "Attribute VB_TemplateDerived = False",
            "Attribute VB_Customizable = False"};
}

void addStandardReferences(Project& project) {
    if (!hasReference(project, "stdole"))
        project.references.insert(
            project.references.begin(),
            registeredReference("stdole", "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
                                          "C:\\Windows\\System32\\stdole2.tlb#OLE Automation"));
    const bool hasForm = std::any_of(project.modules.begin(), project.modules.end(),
                                     [](const Module& m) { return m.kind == ModuleKind::Form; });
    if (hasForm && !hasReference(project, "MSForms")) project.references.push_back(formsReference());
}

void lockForViewing(Project& project, std::string_view utf8Password) {
    if (utf8Password.empty()) refuse("A macro project is locked for viewing only with a password.");
    // A key with which neither key nor hash holds a zero byte: every flag of
    // the structure is then set, as in the hashes Excel writes most of the
    // time, and the order of the flag bits cannot matter.
    const std::string password = toCodePage(utf8Password, project.codePage);
    std::vector<std::uint8_t> hash;
    do {
        std::array<std::uint8_t, 4> key{};
        crypto::randomBytes(key.data(), key.size());
        hash = passwordHashData(password, key);
    } while (!(hash[1] == 0xFF && hash[2] == 0xFF && hash[3] == 0xFF));
    project.protection.state = 0x05;  // protected by the user, from the editor
    project.protection.password = hash;
    project.protection.visibility = 0x00;
}

bool passwordOpens(const Project& project, std::string_view utf8Password) {
    return vba::passwordOpens(project.protection.password, toCodePage(utf8Password, project.codePage));
}

std::string newGuid() {
    cfb::Clsid b{};
    crypto::randomBytes(b.data(), b.size());
    b[7] = static_cast<std::uint8_t>((b[7] & 0x0F) | 0x40);  // version 4 (the third group is stored little-endian)
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);  // variant 1
    return cfb::clsidToString(b);
}

cfb::Node writeProjectStorage(const Project& project) {
    checkNames(project);
    // Excel writes a locked project under the zero id.
    const std::string id = project.protection.lockedForViewing() ? kZeroId : (project.id.empty() ? newGuid() : project.id);

    cfb::Node root;
    root.name = std::string(kStorageName);
    root.isStorage = true;
    const std::string text = projectText(project, id);
    root.addStream(std::string(layout::kStreamProject), bytesOf(text));
    root.addStream(std::string(layout::kStreamProjectWm), projectWm(project));
    cfb::Node& vbaStorage = root.addStorage(std::string(layout::kStorageVba));
    vbaStorage.addStream(std::string(layout::kStreamVbaProject), kVbaProjectStream);
    vbaStorage.addStream(std::string(layout::kStreamDir), dirStream(project));
    for (const Module& m : project.modules)
        vbaStorage.addStream(storedName(m, project.codePage), moduleSource(m, project.codePage));
    for (const Module& m : project.modules) {
        if (m.kind != ModuleKind::Form) continue;
        root.children.push_back(designerStorage(m, project.codePage));
        root.children.back().name = storedName(m, project.codePage);
    }
    return root;
}

}  // namespace office::vba
