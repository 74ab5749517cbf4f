// libFuzzer target for the macro project reader and the decompressor. The
// first byte chooses what the rest is: a compressed container, the three
// streams of a project (PROJECT, the dir records, one module), or a whole
// compound file (the samples of tests/data start that way). Whatever is
// accepted must write and read back with the same modules and source.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/vba/Compression.h"
#include "office/vba/VbaProject.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

void roundTrip(const office::cfb::Node& storage) {
    office::vba::Project project;
    try {
        project = office::vba::readProjectStorage(storage);
    } catch (const automation::AutomationError&) {
        return;  // rejected cleanly
    }
    office::cfb::Node written;
    try {
        written = office::vba::writeProjectStorage(project);
    } catch (const automation::AutomationError&) {
        return;  // names the writer refuses (not identifiers, used twice)
    }
    const office::vba::Project again = office::vba::readProjectStorage(written);
    check(again.modules.size() == project.modules.size(), "the number of modules changed");
    for (std::size_t i = 0; i < project.modules.size(); ++i) {
        check(again.modules[i].kind == project.modules[i].kind, "a module's kind changed");
        // Only Western European source reads back exactly.
        if (project.codePage == 1252) check(again.modules[i].code == project.modules[i].code, "a module's source changed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Bytes rest(data + 1, data + size);
    if (data[0] == 0xD0) {  // a compound file, signature and all
        office::cfb::Node root;
        try {
            root = office::cfb::readCompoundFile({data, size});
        } catch (const automation::AutomationError&) {
            return 0;
        }
        if (const office::cfb::Node* storage = root.child(office::vba::kStorageName)) roundTrip(*storage);
        return 0;
    }
    if (data[0] < 0x80) {  // a compressed container
        try {
            const Bytes plain = office::vba::decompress(rest);
            check(office::vba::decompress(office::vba::compress(plain)).size() >= plain.size(),
                  "compressing lost bytes");
        } catch (const automation::AutomationError&) {
        }
        return 0;
    }
    // Three streams, split at the first two zero bytes: PROJECT text, dir
    // records (compressed here), the source of "Module1" (compressed here).
    const auto first = std::find(rest.begin(), rest.end(), 0);
    const auto second = first == rest.end() ? rest.end() : std::find(first + 1, rest.end(), 0);
    office::cfb::Node storage;
    storage.name = "_VBA_PROJECT_CUR";
    storage.isStorage = true;
    storage.addStream("PROJECT", Bytes(rest.begin(), first));
    office::cfb::Node& vba = storage.addStorage("VBA");
    vba.addStream("dir", office::vba::compress(Bytes(first == rest.end() ? first : first + 1, second)));
    vba.addStream("Module1", office::vba::compress(Bytes(second == rest.end() ? second : second + 1, rest.end())));
    roundTrip(storage);
    return 0;
}
