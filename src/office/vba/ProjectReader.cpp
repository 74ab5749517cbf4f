// Reads a macro project storage. Defended against its input like the
// compound-file reader: every record size is checked against what is left,
// every module stream against its offset, and nothing is allocated beyond the
// size of the data read.
#include <algorithm>
#include <cctype>

#include "automation/AutomationError.h"
#include "office/vba/CodePage.h"
#include "office/vba/Compression.h"
#include "office/vba/ProjectRecords.h"
#include "office/vba/Protection.h"
#include "office/vba/VbaProject.h"

namespace office::vba {
namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void damaged(const std::string& what) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined, "The macro project is damaged: " + what + ".");
}

const cfb::Node& stream(const cfb::Node& storage, std::string_view path) {
    const cfb::Node* node = storage.find(path);
    if (!node || node->isStorage) damaged("it has no " + std::string(path) + " stream");
    return *node;
}

struct Record {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> body;
    std::span<const std::uint8_t> whole;  // id, size and body
};

class DirReader {
public:
    explicit DirReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool atEnd() const { return pos_ >= bytes_.size(); }
    std::uint16_t peekId() const {
        if (bytes_.size() - pos_ < 2) damaged("the dir stream is cut short");
        return static_cast<std::uint16_t>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
    }
    Record next() {
        if (bytes_.size() - pos_ < 6) damaged("the dir stream is cut short");
        const std::size_t start = pos_;
        Record r;
        r.id = peekId();
        std::size_t size = bytes_[pos_ + 2] | std::size_t(bytes_[pos_ + 3]) << 8 | std::size_t(bytes_[pos_ + 4]) << 16 |
                           std::size_t(bytes_[pos_ + 5]) << 24;
        if (r.id == rec::kVersion) size = 6;  // its size field says 4
        pos_ += 6;
        if (size > bytes_.size() - pos_) damaged("a dir record runs past the stream's end");
        r.body = bytes_.subspan(pos_, size);
        pos_ += size;
        r.whole = bytes_.subspan(start, pos_ - start);
        return r;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

std::uint32_t u32Of(const Record& r) {
    if (r.body.size() < 4) damaged("a dir record is too short");
    return r.body[0] | std::uint32_t(r.body[1]) << 8 | std::uint32_t(r.body[2]) << 16 | std::uint32_t(r.body[3]) << 24;
}
std::uint16_t u16Of(const Record& r) {
    if (r.body.size() < 2) damaged("a dir record is too short");
    return static_cast<std::uint16_t>(r.body[0] | r.body[1] << 8);
}
std::string textOf(const Record& r) { return std::string(r.body.begin(), r.body.end()); }

struct DirModule {
    std::string name, streamName;
    std::uint32_t offset = 0;
    bool procedural = false;
    bool isPrivate = false;
};

struct DirInfo {
    std::string name;
    std::uint16_t codePage = 1252;
    std::vector<Reference> references;
    std::vector<DirModule> modules;
};

// The records of one reference after its REFERENCENAME, kept as they are.
// A control reference (the Forms library) carries a name record of its own
// between its two parts.
class ReferenceCollector {
public:
    explicit ReferenceCollector(std::vector<Reference>& out) : out_(out) {}

    void take(const Record& r) {
        switch (r.id) {
        case rec::kReferenceName:
            if (inControl_) {
                append(r);
                controlName_ = true;
            } else {
                out_.push_back({textOf(r), {}});
                expectingBody_ = true;
            }
            break;
        case rec::kReferenceNameUnicode:
            // The reference's own one is written again from its name.
            if (inControl_ && controlName_) append(r);
            break;
        case rec::kReferenceRegistered:
        case rec::kReferenceProject:
        case rec::kReferenceOriginal:
            startBody();
            append(r);
            expectingBody_ = r.id == rec::kReferenceOriginal;  // the control record follows
            inControl_ = false;
            break;
        case rec::kReferenceControl:
            startBody();
            append(r);
            expectingBody_ = false;
            inControl_ = true;
            controlName_ = false;
            break;
        case rec::kReferenceControlExtended:
            if (out_.empty()) damaged("a reference has no start");
            append(r);
            inControl_ = false;
            break;
        default: break;
        }
    }

private:
    void startBody() {
        if (!expectingBody_) out_.push_back({{}, {}});  // a reference without a name record
    }
    void append(const Record& r) { out_.back().records.insert(out_.back().records.end(), r.whole.begin(), r.whole.end()); }

    std::vector<Reference>& out_;
    bool expectingBody_ = false;
    bool inControl_ = false;
    bool controlName_ = false;
};

DirInfo readDir(const Bytes& dir) {
    DirInfo info;
    DirReader in(dir);
    ReferenceCollector references(info.references);
    bool inModules = false;
    DirModule* current = nullptr;
    while (!in.atEnd()) {
        const Record r = in.next();
        if (r.id == rec::kDirTerminator) break;
        if (!inModules) {
            if (r.id == rec::kCodePage) info.codePage = u16Of(r);
            else if (r.id == rec::kName) info.name = textOf(r);
            else if (r.id == rec::kModules) inModules = true;
            else references.take(r);
            continue;
        }
        switch (r.id) {
        case rec::kModuleName:
            info.modules.push_back({textOf(r), textOf(r)});
            current = &info.modules.back();
            break;
        case rec::kModuleStreamName:
            if (current) current->streamName = textOf(r);
            break;
        case rec::kModuleOffset:
            if (current) current->offset = u32Of(r);
            break;
        case rec::kModuleProcedural:
            if (current) current->procedural = true;
            break;
        case rec::kModulePrivate:
            if (current) current->isPrivate = true;
            break;
        case rec::kModuleTerminator: current = nullptr; break;
        default: break;
        }
    }
    return info;
}

// The PROJECT stream: "Key=Value" lines up to the first "[section]".
struct ProjectLines {
    std::vector<std::pair<std::string, std::string>> items;
    std::string value(std::string_view key) const {
        for (const auto& [k, v] : items)
            if (k == key) return v;
        return {};
    }
};

std::string unquote(std::string v) {
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') return v.substr(1, v.size() - 2);
    return v;
}

ProjectLines readProjectLines(const Bytes& bytes) {
    ProjectLines lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        const std::string line(bytes.begin() + std::ptrdiff_t(pos), bytes.begin() + std::ptrdiff_t(end));
        pos = end;
        while (pos < bytes.size() && (bytes[pos] == '\r' || bytes[pos] == '\n')) ++pos;
        if (!line.empty() && line.front() == '[') break;
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) lines.items.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return lines;
}

// The module name of a "Document=Name/&H00000000" or "Module=Name" value.
std::string itemName(const std::string& value) { return value.substr(0, value.find('/')); }

ModuleKind kindOf(const DirModule& m, const ProjectLines& lines) {
    if (m.procedural) return ModuleKind::Standard;
    for (const auto& [key, value] : lines.items) {
        if (cfb::compareNames(itemName(value), m.name) != 0) continue;
        if (key == "Document") return ModuleKind::Document;
        if (key == "BaseClass") return ModuleKind::Form;
        if (key == "Class") return ModuleKind::Class;
    }
    return ModuleKind::Class;
}

// Splits source into the attribute lines at its head and the code after them.
void splitSource(const std::string& source, Module& m) {
    std::size_t pos = 0;
    while (pos < source.size() && source.compare(pos, 10, "Attribute ") == 0) {
        std::size_t end = source.find('\n', pos);
        const std::size_t next = end == std::string::npos ? source.size() : end + 1;
        std::string line = source.substr(pos, (end == std::string::npos ? source.size() : end) - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 20, "Attribute VB_Name = ") != 0) m.attributes.push_back(line);
        pos = next;
    }
    m.code = source.substr(pos);
}

int numberAfter(const std::string& text, std::string_view key, int fallback) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return fallback;
    std::size_t p = text.find('=', at);
    if (p == std::string::npos) return fallback;
    ++p;
    while (p < text.size() && text[p] == ' ') ++p;
    int value = 0;
    bool any = false;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])) && value < 100000000) {
        value = value * 10 + (text[p++] - '0');
        any = true;
    }
    return any ? value : fallback;
}

void readDesigner(const cfb::Node& storage, Module& m, std::uint16_t codePage) {
    const cfb::Node* designer = storage.child(m.name);
    if (!designer || !designer->isStorage) return;
    m.keptDesigner = *designer;
    const cfb::Node* frame = designer->child(layout::kStreamVbFrame);
    if (!frame || frame->isStorage) return;
    const std::string text = fromCodePage({reinterpret_cast<const char*>(frame->data.data()), frame->data.size()}, codePage);
    const std::size_t caption = text.find("Caption");
    if (caption != std::string::npos) {
        const std::size_t open = text.find('"', caption);
        const std::size_t close = open == std::string::npos ? open : text.find('"', open + 1);
        if (close != std::string::npos) m.designer.caption = text.substr(open + 1, close - open - 1);
    }
    m.designer.clientHeight = numberAfter(text, "ClientHeight", m.designer.clientHeight);
    m.designer.clientLeft = numberAfter(text, "ClientLeft", m.designer.clientLeft);
    m.designer.clientTop = numberAfter(text, "ClientTop", m.designer.clientTop);
    m.designer.clientWidth = numberAfter(text, "ClientWidth", m.designer.clientWidth);
}

Protection readProtection(const ProjectLines& lines) {
    Protection p;
    const std::string cmg = unquote(lines.value("CMG"));
    const std::string dpb = unquote(lines.value("DPB"));
    const std::string gc = unquote(lines.value("GC"));
    if (!cmg.empty()) {
        const Bytes state = deobfuscate(cmg);
        if (state.size() != 4) damaged("the protection state is not four bytes");
        p.state = state[0] | std::uint32_t(state[1]) << 8 | std::uint32_t(state[2]) << 16 | std::uint32_t(state[3]) << 24;
    }
    if (!dpb.empty()) p.password = deobfuscate(dpb);
    if (!gc.empty()) {
        const Bytes visibility = deobfuscate(gc);
        if (visibility.size() != 1) damaged("the visibility state is not one byte");
        p.visibility = visibility[0];
    }
    return p;
}

}  // namespace

Project readProjectStorage(const cfb::Node& storage) {
    Project project;
    const ProjectLines lines = readProjectLines(stream(storage, layout::kStreamProject).data);
    const DirInfo dir = readDir(decompress(stream(storage, "VBA/dir").data));
    project.codePage = dir.codePage;
    project.name = fromCodePage(dir.name, dir.codePage);
    project.id = unquote(lines.value("ID"));
    project.references = dir.references;
    for (Reference& r : project.references) r.name = fromCodePage(r.name, dir.codePage);
    project.protection = readProtection(lines);

    const cfb::Node* vbaStorage = storage.child(layout::kStorageVba);
    for (const DirModule& dm : dir.modules) {
        Module m;
        m.name = fromCodePage(dm.name, dir.codePage);
        m.kind = kindOf(dm, lines);
        m.isPrivate = dm.isPrivate;
        const std::string streamName = fromCodePage(dm.streamName, dir.codePage);
        const cfb::Node* source = vbaStorage ? vbaStorage->child(streamName) : nullptr;
        if (!source || source->isStorage) damaged("the module " + m.name + " has no stream");
        if (dm.offset > source->data.size()) damaged("the module " + m.name + " starts past its stream's end");
        const Bytes bytes = decompress(std::span(source->data).subspan(dm.offset));
        splitSource(fromCodePage({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, dir.codePage), m);
        if (m.kind == ModuleKind::Form) readDesigner(storage, m, dir.codePage);
        project.modules.push_back(std::move(m));
    }
    return project;
}

}  // namespace office::vba
