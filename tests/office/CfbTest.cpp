// Compound file (MS-CFB) reader and writer: samples from Office and LibreOffice,
// round trips, version 4, damaged inputs, and a cross-check with olefile.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/crypto/Crypto.h"
#include "support/TestSupport.h"

namespace {

using automation::AutomationError;
using office::cfb::Clsid;
using office::cfb::Node;
namespace fs = std::filesystem;


void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& b) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}


std::vector<fs::path> sampleFiles() {
    std::vector<fs::path> files;
    for (const auto& dir : {testsupport::testData(""), testsupport::sharedSample("reference")}) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir, ec)) {
            const auto ext = e.path().extension().string();
            if (ext == ".xls" || ext == ".doc" || ext == ".ppt") files.push_back(e.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// One line per entry: path, kind, size + MD5 for streams, CLSID for storages.
void dumpTree(const Node& n, const std::string& prefix, std::vector<std::string>& out) {
    for (const auto& c : n.children) {
        const std::string path = prefix.empty() ? c.name : prefix + "/" + c.name;
        if (c.isStorage) {
            const std::string id = c.clsid == Clsid{} ? "" : office::cfb::clsidToString(c.clsid).substr(1, 36);
            out.push_back(path + "\tD\t" + id);
            dumpTree(c, path, out);
        } else {
            out.push_back(path + "\tS\t" + std::to_string(c.data.size()) + "\t" +
                          testsupport::hexText(office::crypto::md5(c.data)));
        }
    }
}

std::vector<std::string> dump(const Node& root) {
    std::vector<std::string> out;
    const std::string id = root.clsid == Clsid{} ? "" : office::cfb::clsidToString(root.clsid).substr(1, 36);
    out.push_back("\tR\t" + id);
    dumpTree(root, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

bool haveOlefile() {
    static const bool ok = std::system("/usr/bin/python3 -c 'import olefile' >/dev/null 2>&1") == 0;
    return ok;
}

// The same dump made by olefile (an independent reader), for several files in
// one Python run; also reports the sector size olefile sees.
struct OleDump {
    std::vector<std::string> lines;
    int sectorSize = 0;
};

std::vector<OleDump> olefileDumps(const std::vector<fs::path>& files) {
    testsupport::TempFolder tmp("cfbtest");
    const auto script = tmp.path() / "dump.py";
    {
        std::ofstream s(script);
        s << R"PY(
import olefile, sys, hashlib
args = sys.argv[1:]
for src, dst in zip(args[0::2], args[1::2]):
    o = olefile.OleFileIO(src, raise_defects=olefile.DEFECT_INCORRECT)
    out = open(dst, 'w', encoding='utf-8', newline='\n')
    out.write('#%d\n' % o.sectorsize)
    out.write('\tR\t%s\n' % o.root.clsid)
    for path in o.listdir(streams=True, storages=True):
        p = '/'.join(path)
        if o.get_type(path) == olefile.STGTY_STORAGE:
            out.write('%s\tD\t%s\n' % (p, o.getclsid(path)))
        else:
            data = o.openstream(path).read()
            out.write('%s\tS\t%d\t%s\n' % (p, len(data), hashlib.md5(data).hexdigest()))
    out.close()
)PY";
    }
    std::string cmd = "/usr/bin/python3 " + script.string();
    for (std::size_t i = 0; i < files.size(); ++i)
        cmd += " '" + files[i].string() + "' '" + (tmp.path() / (std::to_string(i) + ".txt")).string() + "'";
    std::vector<OleDump> result(files.size());
    if (std::system(cmd.c_str()) != 0) {
        ADD_FAILURE() << "olefile could not read the files";
        return result;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::ifstream in(tmp.path() / (std::to_string(i) + ".txt"));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line[0] == '#') {
                result[i].sectorSize = std::stoi(line.substr(1));
                continue;
            }
            result[i].lines.push_back(line);
        }
        std::sort(result[i].lines.begin(), result[i].lines.end());
    }
    return result;
}

std::vector<std::string> olefileDump(const fs::path& file, int* sectorSize = nullptr) {
    auto d = olefileDumps({file});
    if (sectorSize) *sectorSize = d[0].sectorSize;
    return d[0].lines;
}

void expectSameTree(const Node& a, const Node& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.isStorage, b.isStorage);
    if (a.isStorage) {
        EXPECT_EQ(a.clsid, b.clsid) << a.name;
    }
    EXPECT_TRUE(a.data == b.data) << a.name;
    ASSERT_EQ(a.children.size(), b.children.size()) << a.name;
    for (std::size_t i = 0; i < a.children.size(); ++i) expectSameTree(a.children[i], b.children[i]);
}

std::vector<std::uint8_t> pattern(std::size_t n, std::uint32_t seed) {
    std::vector<std::uint8_t> v(n);
    std::mt19937 rng(seed);
    for (auto& b : v) b = std::uint8_t(rng());
    return v;
}

const Clsid kPackage = office::cfb::clsidFromString("{0003000C-0000-0000-C000-000000000046}");

Node sampleTree() {
    Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.addStream("Workbook", pattern(5000, 1));
    root.addStream("\x05SummaryInformation", pattern(200, 2));
    auto& mbd = root.addStorage("MBD0049DB15", kPackage);
    mbd.addStream("\x01Ole10Native", pattern(4095, 3));
    mbd.addStream("\x01Ole", pattern(20, 4));
    mbd.addStream("Empty", {});
    auto& vba = root.addStorage("_VBA_PROJECT_CUR").addStorage("VBA");
    vba.addStream("dir", pattern(600, 5));
    vba.addStream("Modul\xC3\xA9\xE4\xB8\xAD", pattern(4096, 6));  // "Modulé中"
    return root;
}

// ---------------------------------------------------------------- samples

// A save hands the file over in pieces: the large streams are not copied,
// and the pieces make the same file as the one buffer, whatever the sizes.
TEST(CfbTest, PiecesMakeTheSameFileWithoutCopyingLargeStreams) {
    for (std::size_t size : {4096u, 4097u, 5000u, 512u * 9u, 100000u}) {
        Node root;
        root.name = "Root Entry";
        root.isStorage = true;
        std::vector<std::uint8_t> big(size);
        for (std::size_t i = 0; i < size; ++i) big[i] = static_cast<std::uint8_t>(i * 7 + 1);
        root.addStream("Big", big);
        root.addStream("Small", {1, 2, 3});
        root.addStorage("Box").addStream("Second", std::vector<std::uint8_t>(size + 3, 9));
        const auto pieces = office::cfb::writeCompoundFilePieces(root);
        EXPECT_EQ(pieces.joined(), office::cfb::writeCompoundFile(root)) << size;
        EXPECT_EQ(pieces.size() % 512, 0u) << size;
        const std::uint8_t* held = root.child("Big")->data.data();
        EXPECT_TRUE(std::any_of(pieces.parts.begin(), pieces.parts.end(),
                                [&](const auto& part) { return part.data() == held; }))
            << size;
        const Node back = office::cfb::readCompoundFile(pieces.joined());
        ASSERT_NE(back.child("Big"), nullptr) << size;
        EXPECT_EQ(back.child("Big")->data, big) << size;
        EXPECT_EQ(back.find("Box/Second")->data, root.find("Box/Second")->data) << size;
    }
}

TEST(CfbTest, ReadsEverySampleLikeOlefile) {
    const auto files = sampleFiles();
    ASSERT_FALSE(files.empty());
    std::vector<std::vector<std::string>> ours;
    for (const auto& f : files) {
        SCOPED_TRACE(f.string());
        const auto bytes = testsupport::readFileBytes(f);
        Node root;
        ASSERT_NO_THROW(root = office::cfb::readCompoundFile(bytes));
        EXPECT_EQ(root.name, "Root Entry");
        EXPECT_TRUE(root.isStorage);
        EXPECT_TRUE(root.child("Workbook") || root.child("WordDocument") ||
                    root.child("PowerPoint Document"));
        ours.push_back(dump(root));
    }
    if (!haveOlefile()) GTEST_SKIP() << "/usr/bin/python3 has no olefile";
    const auto theirs = olefileDumps(files);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ours[i], theirs[i].lines) << files[i];
}

TEST(CfbTest, RewritesEverySampleAndOlefileAgrees) {
    testsupport::TempFolder tmp("cfbtest");
    std::vector<fs::path> written;
    std::vector<std::vector<std::string>> expected;
    for (const auto& f : sampleFiles()) {
        SCOPED_TRACE(f.string());
        const Node root = office::cfb::readCompoundFile(testsupport::readFileBytes(f));
        const auto bytes = office::cfb::writeCompoundFile(root);
        EXPECT_EQ(bytes.size() % 512, 0u);
        const Node again = office::cfb::readCompoundFile(bytes);
        expectSameTree(root, again);
        written.push_back(tmp.path() / f.filename());
        writeBytes(written.back(), bytes);
        expected.push_back(dump(root));
    }
    if (!haveOlefile()) GTEST_SKIP() << "/usr/bin/python3 has no olefile";
    const auto theirs = olefileDumps(written);
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(theirs[i].lines, expected[i]) << written[i];
        EXPECT_EQ(theirs[i].sectorSize, 512);
    }
}

TEST(CfbTest, FindsByPathIgnoringCase) {
    const auto bytes = testsupport::readFileBytes(testsupport::sharedSample("reference/poi_ex42570-20305.xls"));
    if (bytes.empty()) GTEST_SKIP() << "shared samples missing";
    const Node root = office::cfb::readCompoundFile(bytes);
    const Node* dir = root.find("_VBA_PROJECT_CUR/VBA/dir");
    ASSERT_NE(dir, nullptr);
    EXPECT_FALSE(dir->isStorage);
    EXPECT_EQ(dir->data.at(0), 0x01);  // compressed container signature
    EXPECT_EQ(root.find("_vba_project_cur/vba/DIR"), dir);
    EXPECT_EQ(root.find("_VBA_PROJECT_CUR/VBA/nope"), nullptr);
    const Node* form = root.find("_VBA_PROJECT_CUR/UserForm1");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isStorage);
    EXPECT_EQ(form->child("\x03VBFrame")->data.size(), 265u);
    EXPECT_EQ(form->child("o")->data.size(), 0u);
    EXPECT_EQ(root.find(""), &root);
}

TEST(CfbTest, KeepsStorageClsids) {
    const auto bytes = testsupport::readFileBytes(testsupport::sharedSample("reference/poi_excel_with_embeded.xls"));
    if (bytes.empty()) GTEST_SKIP() << "shared samples missing";
    const Node root = office::cfb::readCompoundFile(bytes);
    std::set<std::string> ids;
    for (const auto& c : root.children)
        if (c.isStorage && c.name.rfind("MBD", 0) == 0) ids.insert(office::cfb::clsidToString(c.clsid));
    EXPECT_TRUE(ids.count("{00020906-0000-0000-C000-000000000046}"));  // Word
    EXPECT_TRUE(ids.count("{64818D10-4F9B-11CF-86EA-00AA00B929E8}"));  // PowerPoint
}

// ---------------------------------------------------------------- node API

TEST(CfbTest, NodeApi) {
    Node root = sampleTree();
    EXPECT_NE(root.child("workbook"), nullptr);
    EXPECT_EQ(root.child("Workbook2"), nullptr);
    const std::size_t before = root.children.size();
    root.addStream("WORKBOOK", {1, 2, 3});
    EXPECT_EQ(root.children.size(), before);
    EXPECT_EQ(root.child("Workbook")->name, "WORKBOOK");
    EXPECT_EQ(root.child("Workbook")->data, (std::vector<std::uint8_t>{1, 2, 3}));
    Node& again = root.addStorage("mbd0049db15");
    EXPECT_EQ(again.clsid, kPackage);  // existing storage kept, CLSID kept
    EXPECT_EQ(again.children.size(), 3u);
    root.addStorage("Workbook");  // a stream replaced by a storage
    EXPECT_TRUE(root.child("Workbook")->isStorage);
    EXPECT_NE(root.find("/_VBA_PROJECT_CUR//VBA/dir"), nullptr);
}

TEST(CfbTest, NameOrderIsLengthThenUpperCase) {
    using office::cfb::compareNames;
    EXPECT_LT(compareNames("Z", "AA"), 0);
    EXPECT_LT(compareNames("abc", "ABD"), 0);
    EXPECT_EQ(compareNames("Workbook", "WORKBOOK"), 0);
    EXPECT_EQ(compareNames("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"), 0);  // été / ÉTÉ
    EXPECT_GT(compareNames("VBA", "dir"), 0);  // 'V' > 'D'
    EXPECT_LT(compareNames("\x01Ole", "\x01OLE10Native"), 0);
}

TEST(CfbTest, ClsidText) {
    const auto id = office::cfb::clsidFromString("{00020906-0000-0000-C000-000000000046}");
    EXPECT_EQ(id[0], 0x06);
    EXPECT_EQ(id[1], 0x09);
    EXPECT_EQ(id[2], 0x02);
    EXPECT_EQ(id[8], 0xC0);
    EXPECT_EQ(office::cfb::clsidToString(id), "{00020906-0000-0000-C000-000000000046}");
    EXPECT_THROW(office::cfb::clsidFromString("{0002090-0000-0000-C000-000000000046}"), AutomationError);
}

// ---------------------------------------------------------------- round trips

TEST(CfbTest, RoundTripsStreamsAroundTheMiniCutoff) {
    Node root = sampleTree();
    auto& many = root.addStorage("Many");
    const std::size_t sizes[] = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 8191, 8192, 70000};
    int k = 0;
    for (std::size_t s : sizes) many.addStream("S" + std::to_string(k++), pattern(s, std::uint32_t(s)));
    const auto bytes = office::cfb::writeCompoundFile(root);
    const Node back = office::cfb::readCompoundFile(bytes);
    EXPECT_EQ(dump(back), dump(root));
    if (haveOlefile()) {
        testsupport::TempFolder tmp("cfbtest");
        writeBytes(tmp.path() / "t.cfb", bytes);
        EXPECT_EQ(olefileDump(tmp.path() / "t.cfb"), dump(root));
    }
}

TEST(CfbTest, RoundTripsRandomTrees) {
    std::mt19937 rng(1234);
    testsupport::TempFolder tmp("cfbtest");
    for (int round = 0; round < 12; ++round) {
        Node root;
        root.name = "Root Entry";
        root.isStorage = true;
        std::vector<Node*> storages{&root};
        const int count = 1 + int(rng() % 120);
        for (int i = 0; i < count; ++i) {
            Node* parent = storages[rng() % storages.size()];
            std::string name = "e" + std::to_string(i);
            name.resize(std::min<std::size_t>(31, name.size() + rng() % 20), char('a' + i % 26));
            if (rng() % 5 == 0 && storages.size() < 30) {
                Clsid id{};
                if (rng() % 2) for (auto& b : id) b = std::uint8_t(rng());
                parent->addStorage(name, id);
            } else {
                const std::size_t pick = rng() % 4;
                std::size_t size = pick == 0 ? rng() % 200
                                 : pick == 1 ? 4090 + rng() % 12
                                 : pick == 2 ? rng() % 5000
                                             : 4096 + rng() % 30000;
                parent->addStream(name, pattern(size, std::uint32_t(rng())));
            }
            // Adding a child may move its siblings: collect the storages afresh.
            storages.clear();
            std::vector<Node*> todo{&root};
            while (!todo.empty()) {
                Node* n = todo.back();
                todo.pop_back();
                storages.push_back(n);
                for (auto& c : n->children)
                    if (c.isStorage) todo.push_back(&c);
            }
        }
        const auto bytes = office::cfb::writeCompoundFile(root);
        const Node back = office::cfb::readCompoundFile(bytes);
        ASSERT_EQ(dump(back), dump(root)) << "round " << round;
        if (haveOlefile() && round < 3) {
            writeBytes(tmp.path() / "r.cfb", bytes);
            EXPECT_EQ(olefileDump(tmp.path() / "r.cfb"), dump(root));
        }
    }
}

TEST(CfbTest, LargeFileNeedsDifat) {
    // > 109 FAT sectors = > 109 * 128 * 512 bytes (about 7 MB).
    Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.addStream("Big", pattern(8 * 1024 * 1024 + 77, 9));
    root.addStream("Small", pattern(100, 10));
    const auto bytes = office::cfb::writeCompoundFile(root);
    const std::uint32_t nFat = bytes[0x2C] | bytes[0x2D] << 8;
    const std::uint32_t nDifat = bytes[0x48] | bytes[0x49] << 8;
    EXPECT_GT(nFat, 109u);
    EXPECT_GE(nDifat, 1u);
    const Node back = office::cfb::readCompoundFile(bytes);
    EXPECT_EQ(dump(back), dump(root));
    if (haveOlefile()) {
        testsupport::TempFolder tmp("cfbtest");
        writeBytes(tmp.path() / "big.cfb", bytes);
        EXPECT_EQ(olefileDump(tmp.path() / "big.cfb"), dump(root));
    }
}

TEST(CfbTest, Version4) {
    Node root = sampleTree();
    root.addStorage("Big").addStream("Data", pattern(300000, 11));
    const auto bytes = office::cfb::writeCompoundFile(root, 4);
    EXPECT_EQ(bytes[0x1A], 4);
    EXPECT_EQ(bytes.size() % 4096, 0u);
    const Node back = office::cfb::readCompoundFile(bytes);
    EXPECT_EQ(dump(back), dump(root));
    if (haveOlefile()) {
        testsupport::TempFolder tmp("cfbtest");
        writeBytes(tmp.path() / "v4.cfb", bytes);
        int sector = 0;
        EXPECT_EQ(olefileDump(tmp.path() / "v4.cfb", &sector), dump(root));
        EXPECT_EQ(sector, 4096);
    }
}

TEST(CfbTest, WriterRefusesBadNames) {
    for (const char* bad : {"", "a/b", "a\\b", "a:b", "a!b", "0123456789012345678901234567890123"}) {
        Node root;
        root.isStorage = true;
        root.addStream(bad, {1});
        EXPECT_THROW(office::cfb::writeCompoundFile(root), AutomationError) << bad;
    }
    Node root;
    root.isStorage = true;
    root.children.push_back(Node{"Dup", false, {}, {1}, {}});
    root.children.push_back(Node{"DUP", false, {}, {2}, {}});
    EXPECT_THROW(office::cfb::writeCompoundFile(root), AutomationError);
    Node ok;
    ok.isStorage = true;
    ok.addStream("0123456789012345678901234567890", {1});  // 31 characters
    EXPECT_NO_THROW(office::cfb::writeCompoundFile(ok));
}

TEST(CfbTest, TwoMegabyteStreamIsFast) {
    Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.addStream("Workbook", pattern(2 * 1024 * 1024, 12));
    const auto t0 = std::chrono::steady_clock::now();
    const auto bytes = office::cfb::writeCompoundFile(root);
    const auto t1 = std::chrono::steady_clock::now();
    const Node back = office::cfb::readCompoundFile(bytes);
    const auto t2 = std::chrono::steady_clock::now();
    EXPECT_TRUE(back.child("Workbook")->data == root.child("Workbook")->data);
    const auto us = [](auto d) { return std::chrono::duration_cast<std::chrono::microseconds>(d).count(); };
    std::printf("2 MB stream: write %lld us, read %lld us\n", (long long)us(t1 - t0), (long long)us(t2 - t1));
    // Generous bound (sanitizer and debug builds); a quadratic walk takes far longer.
    EXPECT_LT(us(t2 - t0), 500000);
}

// ---------------------------------------------------------------- damaged input

// Either a clean AutomationError or exactly the original content.
void expectErrorOrSame(std::span<const std::uint8_t> bytes, const std::vector<std::string>& expected,
                       bool mustFail) {
    try {
        const Node n = office::cfb::readCompoundFile(bytes);
        EXPECT_FALSE(mustFail);
        if (!mustFail && !expected.empty()) {
            EXPECT_EQ(dump(n), expected);
        }
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 1004);
        EXPECT_FALSE(e.description().empty());
    }
}

TEST(CfbTest, TruncatedFilesFailCleanly) {
    for (const auto& f : sampleFiles()) {
        SCOPED_TRACE(f.string());
        const auto bytes = testsupport::readFileBytes(f);
        const auto expected = dump(office::cfb::readCompoundFile(bytes));
        std::mt19937 rng(7);
        std::vector<std::size_t> cuts{0, 7, 8, 100, 511, 512, 513, 1024, bytes.size() - 1};
        for (int k = 0; k < 12; ++k) cuts.push_back(rng() % bytes.size());
        for (std::size_t cut : cuts) {
            SCOPED_TRACE(cut);
            const std::span<const std::uint8_t> part(bytes.data(), cut);
            expectErrorOrSame(part, expected, cut < 1024);
        }
    }
}

TEST(CfbTest, RandomBytesFailCleanly) {
    std::mt19937 rng(99);
    const auto good = office::cfb::writeCompoundFile(sampleTree());
    const auto expected = dump(sampleTree());
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> b;
        if (round % 3 == 0) {
            b = pattern(512 + rng() % 5000, rng());
            std::copy_n(good.begin(), 8, b.begin());  // signature, random rest
        } else {
            b = good;  // flip a few bytes of a valid file
            const int flips = 1 + int(rng() % 8);
            for (int k = 0; k < flips; ++k) b[rng() % b.size()] = std::uint8_t(rng());
        }
        try {
            const Node n = office::cfb::readCompoundFile(b);
            // Whatever was read must survive a round trip.
            const Node again = office::cfb::readCompoundFile(office::cfb::writeCompoundFile(n));
            EXPECT_EQ(dump(again), dump(n));
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), 1004);
        }
    }
}

std::uint32_t get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = std::uint8_t(v >> (8 * k));
}

struct Layout {
    std::vector<std::uint8_t> bytes;
    std::size_t fat0 = 0;  // offset of the first FAT sector
    std::size_t dir = 0;   // offset of the first directory sector
};

Layout bigFile() {
    Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.addStream("Workbook", pattern(20000, 13));
    root.addStream("Tiny", pattern(300, 14));
    Layout l;
    l.bytes = office::cfb::writeCompoundFile(root);
    l.fat0 = (get32(l.bytes, 0x4C) + 1) * 512;
    l.dir = (get32(l.bytes, 0x30) + 1) * 512;
    return l;
}

// Directory entry i of the first directory sector.
std::size_t entryAt(const Layout& l, const std::string& name) {
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t at = l.dir + 128 * i;
        std::string n;
        for (std::size_t k = 0; k < 32 && l.bytes[at + 2 * k]; ++k) n.push_back(char(l.bytes[at + 2 * k]));
        if (n == name) return at;
    }
    ADD_FAILURE() << "no entry " << name;
    return l.dir;
}

TEST(CfbTest, CyclicFatChainFails) {
    Layout l = bigFile();
    const std::size_t e = entryAt(l, "Workbook");
    const std::uint32_t start = get32(l.bytes, e + 0x74);
    // Second sector of Workbook points back to the first.
    put32(l.bytes, l.fat0 + 4 * (start + 1), start);
    EXPECT_THROW(office::cfb::readCompoundFile(l.bytes), AutomationError);
    // A sector pointing at itself.
    Layout m = bigFile();
    put32(m.bytes, m.fat0 + 4 * start, start);
    EXPECT_THROW(office::cfb::readCompoundFile(m.bytes), AutomationError);
    // Directory chain looping.
    Layout d = bigFile();
    const std::uint32_t dirStart = get32(d.bytes, 0x30);
    put32(d.bytes, d.fat0 + 4 * dirStart, dirStart);
    EXPECT_THROW(office::cfb::readCompoundFile(d.bytes), AutomationError);
}

TEST(CfbTest, ChainOutsideTheFileFails) {
    Layout l = bigFile();
    const std::size_t e = entryAt(l, "Workbook");
    put32(l.bytes, e + 0x74, 100000);
    EXPECT_THROW(office::cfb::readCompoundFile(l.bytes), AutomationError);
    Layout m = bigFile();
    const std::uint32_t start = get32(m.bytes, entryAt(m, "Workbook") + 0x74);
    put32(m.bytes, m.fat0 + 4 * (start + 3), 0xFFFFFFF0);
    EXPECT_THROW(office::cfb::readCompoundFile(m.bytes), AutomationError);
}

TEST(CfbTest, LyingSizesFail) {
    for (std::uint32_t size : {0xFFFFFFF0u, 0x7FFFFFFFu, 30000u}) {
        Layout l = bigFile();
        put32(l.bytes, entryAt(l, "Workbook") + 0x78, size);
        EXPECT_THROW(office::cfb::readCompoundFile(l.bytes), AutomationError) << size;
    }
    Layout f = bigFile();
    put32(f.bytes, 0x2C, 0x40000000);  // FAT sector count
    EXPECT_THROW(office::cfb::readCompoundFile(f.bytes), AutomationError);
    Layout m = bigFile();
    put32(m.bytes, entryAt(m, "Root Entry") + 0x78, 0xFFFFFF00);  // mini stream size
    EXPECT_THROW(office::cfb::readCompoundFile(m.bytes), AutomationError);
}

TEST(CfbTest, DirectoryCyclesFail) {
    Layout l = bigFile();
    const std::size_t root = entryAt(l, "Root Entry");
    const std::uint32_t top = get32(l.bytes, root + 0x4C);
    const std::size_t topAt = l.dir + 128 * top;
    put32(l.bytes, topAt + 0x44, top);  // left sibling = itself
    EXPECT_THROW(office::cfb::readCompoundFile(l.bytes), AutomationError);
    Layout m = bigFile();
    put32(m.bytes, m.dir + 128 * get32(m.bytes, entryAt(m, "Root Entry") + 0x4C) + 0x48, 0);  // -> root
    EXPECT_THROW(office::cfb::readCompoundFile(m.bytes), AutomationError);
    Layout n = bigFile();
    put32(n.bytes, n.dir + 128 * get32(n.bytes, entryAt(n, "Root Entry") + 0x4C) + 0x48, 77);  // missing
    EXPECT_THROW(office::cfb::readCompoundFile(n.bytes), AutomationError);
}

TEST(CfbTest, StorageSelfChildFails) {
    Node root;
    root.name = "Root Entry";
    root.isStorage = true;
    root.addStorage("S").addStream("x", {1});
    Layout l;
    l.bytes = office::cfb::writeCompoundFile(root);
    l.dir = (get32(l.bytes, 0x30) + 1) * 512;
    const std::size_t s = entryAt(l, "S");
    put32(l.bytes, s + 0x4C, std::uint32_t((s - l.dir) / 128));  // S contains S
    EXPECT_THROW(office::cfb::readCompoundFile(l.bytes), AutomationError);
}

TEST(CfbTest, BadHeadersFail) {
    const auto good = office::cfb::writeCompoundFile(sampleTree());
    auto b = good;
    b[0] = 0;
    EXPECT_THROW(office::cfb::readCompoundFile(b), AutomationError);
    b = good;
    b[0x1A] = 5;  // version
    EXPECT_THROW(office::cfb::readCompoundFile(b), AutomationError);
    b = good;
    b[0x1E] = 12;  // v3 with 4096-byte sectors
    EXPECT_THROW(office::cfb::readCompoundFile(b), AutomationError);
    EXPECT_THROW(office::cfb::readCompoundFile({}), AutomationError);
    try {
        office::cfb::readCompoundFile(std::span<const std::uint8_t>(good.data(), 100));
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.offset(), 0);
        EXPECT_NE(e.description().find("compound"), std::string::npos);
    }
}

}  // namespace

// The Workbook stream's sectors stored in reverse order: the last sector of
// the stream comes first in the file, and the chain runs backwards.
Layout reversedWorkbook() {
    Layout l = bigFile();
    const std::size_t e = entryAt(l, "Workbook");
    const std::uint32_t start = get32(l.bytes, e + 0x74);
    const std::uint32_t count = (get32(l.bytes, e + 0x78) + 511) / 512;
    std::vector<std::uint8_t> sectors(l.bytes.begin() + (start + 1) * 512,
                                      l.bytes.begin() + (start + 1 + count) * 512);
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t at = start + count - 1 - k;  // where stream sector k now lies
        std::copy_n(sectors.begin() + k * 512, 512, l.bytes.begin() + (at + 1) * 512);
        put32(l.bytes, l.fat0 + 4 * at, k + 1 < count ? at - 1 : 0xFFFFFFFE);
    }
    put32(l.bytes, e + 0x74, start + count - 1);
    return l;
}

TEST(CfbTest, TakingTheBytesGivesTheSameTree) {
    // The file's bytes become the stream where its sectors can move into
    // place; elsewhere it is copied as before. Either way the tree is the same.
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    for (const auto& f : sampleFiles()) files.emplace_back(f.string(), testsupport::readFileBytes(f));
    files.emplace_back("a stream in order", bigFile().bytes);
    files.emplace_back("a stream stored backwards", reversedWorkbook().bytes);
    ASSERT_GT(files.size(), 2u);
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const Node copied = office::cfb::readCompoundFile(bytes);
        Node taken = office::cfb::readCompoundFile(std::vector<std::uint8_t>(bytes), "Workbook");
        expectSameTree(copied, taken);
        EXPECT_EQ(dump(copied), dump(taken));
    }
    const Node reversed = office::cfb::readCompoundFile(reversedWorkbook().bytes);
    ASSERT_NE(reversed.child("Workbook"), nullptr);
    EXPECT_EQ(reversed.child("Workbook")->data, pattern(20000, 13));

    // A damaged chain is refused the same way.
    Layout looped = bigFile();
    const std::uint32_t start = get32(looped.bytes, entryAt(looped, "Workbook") + 0x74);
    put32(looped.bytes, looped.fat0 + 4 * (start + 1), start);
    EXPECT_THROW(office::cfb::readCompoundFile(std::move(looped.bytes), "Workbook"), AutomationError);
    Layout truncated = bigFile();
    truncated.bytes.resize(truncated.bytes.size() - 3000);
    EXPECT_THROW(office::cfb::readCompoundFile(std::move(truncated.bytes), "Workbook"), AutomationError);
}
