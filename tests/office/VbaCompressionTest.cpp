// The compression of macro project streams: the format's published examples,
// Excel's own module streams, chunk boundaries and damaged containers.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/vba/Compression.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using office::vba::compress;
using office::vba::decompress;

Bytes hex(std::string text) {
    Bytes out;
    std::string digits;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits.push_back(c);
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(std::uint8_t(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}
Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Example {
    std::string text;
    std::string compressed;
};

// The examples of the format's documentation. The second one as printed
// there uses other (equally valid) offsets for two runs of "aaa" than its own
// algorithm picks; both must decompress, and ours must match the algorithm.
const Example kNoCompression = {"abcdefghijklmnopqrstuv.",
                                "01 19 B0 00 61 62 63 64 65 66 67 68 00 69 6A 6B 6C 6D 6E 6F 70 00 71 72 73 74 75 76 2E"};
const Example kNormal = {"#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa",
                         "01 2F B0 00 23 61 61 61 62 63 64 65 82 66 00 70 61 67 68 69 6A 01 38 08 61 6B 6C 00 20 6D 6E 6F "
                         "70 06 71 02 70 04 00 72 73 74 75 76 10 77 78 79 7A 00 2C"};
const std::string kNormalAsPrinted =
    "01 2F B0 00 23 61 61 61 62 63 64 65 82 66 00 70 61 67 68 69 6A 01 38 08 61 6B 6C 00 30 6D 6E 6F "
    "70 06 71 02 70 04 10 72 73 74 75 76 10 77 78 79 7A 00 3C";
const Example kMaximum = {std::string(73, 'a'), "01 03 B0 02 61 45 00"};

TEST(VbaCompression, PublishedExamplesComeOutByteForByte) {
    for (const Example& e : {kNoCompression, kNormal, kMaximum}) {
        SCOPED_TRACE(e.text);
        EXPECT_EQ(testsupport::hexText(compress(bytes(e.text))), testsupport::hexText(hex(e.compressed)));
        EXPECT_EQ(decompress(hex(e.compressed)), bytes(e.text));
    }
    EXPECT_EQ(decompress(hex(kNormalAsPrinted)), bytes(kNormal.text));
}

TEST(VbaCompression, EmptyInputIsTheSignatureAlone) {
    EXPECT_EQ(compress({}), Bytes{0x01});
    EXPECT_TRUE(decompress(Bytes{0x01}).empty());
}

// Excel's module streams hold the compiled cache first; the source starts at
// the offset the dir stream gives (read here by hand from the files).
TEST(VbaCompression, ExcelsModuleStreamsRoundTrip) {
    struct Stream {
        const char* file;
        const char* path;
        std::size_t offset;
        const char* startsWith;
    };
    const Stream streams[] = {
        {"poi_ex42570-20305.xls", "_VBA_PROJECT_CUR/VBA/Module1", 0xCA0, "Attribute VB_Name = \"Module1\"\r\nSub update()"},
        {"poi_ex42570-20305.xls", "_VBA_PROJECT_CUR/VBA/UserForm1", 0x3A1, "Attribute VB_Name = \"UserForm1\""},
        {"unlock_excel_Locked_with_macro.xls", "_VBA_PROJECT_CUR/VBA/Module1", 0x3D7, "Attribute VB_Name = \"Module1\""},
    };
    for (const Stream& s : streams) {
        const Bytes file = testsupport::readFileBytes(testsupport::sharedSample(std::string("reference/") + s.file));
        if (file.empty()) GTEST_SKIP() << "reference files are not available";
        SCOPED_TRACE(s.path);
        const office::cfb::Node root = office::cfb::readCompoundFile(file);
        const office::cfb::Node* node = root.find(s.path);
        ASSERT_NE(node, nullptr);
        const Bytes source = decompress(std::span(node->data).subspan(s.offset));
        EXPECT_EQ(std::string(source.begin(), source.begin() + std::ptrdiff_t(std::string(s.startsWith).size())), s.startsWith);
        const Bytes again = compress(source);
        EXPECT_LE(again.size(), node->data.size() - s.offset + 16);  // about as small as Excel's
        EXPECT_EQ(decompress(again), source);
    }
}

TEST(VbaCompression, ManyChunksRawChunksAndLongRunsRoundTrip) {
    std::mt19937 random(7);
    Bytes noise(10000);
    for (auto& b : noise) b = std::uint8_t(random());
    Bytes text;
    for (int i = 0; i < 700; ++i) {
        const std::string line = "    If n = " + std::to_string(i % 37) + " Then MsgBox \"line " + std::to_string(i) + "\"\r\n";
        text.insert(text.end(), line.begin(), line.end());
    }
    Bytes mixed = text;
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    mixed.insert(mixed.end(), 9000, 'a');
    for (const Bytes& data : {noise, text, mixed, Bytes(4096, 'x'), Bytes(4097, 'x'), Bytes(8192, 0)}) {
        SCOPED_TRACE(data.size());
        const Bytes packed = compress(data);
        Bytes back = decompress(packed);
        // A raw last chunk is padded to 4096 bytes with zeros.
        ASSERT_GE(back.size(), data.size());
        EXPECT_TRUE(std::all_of(back.begin() + std::ptrdiff_t(data.size()), back.end(), [](auto b) { return b == 0; }));
        back.resize(data.size());
        EXPECT_EQ(back, data);
    }
    EXPECT_LT(compress(text).size(), text.size() / 3);
    EXPECT_LE(compress(noise).size(), noise.size() + 3 * 2 + 1 + 4096);  // raw chunks
}

TEST(VbaCompression, DamagedContainersAreRefusedWithTheirOffset) {
    struct Case {
        const char* what;
        std::string bytes;
        std::int64_t offset;
    };
    const Case cases[] = {
        {"no signature", "00 19 B0 00 61", 0},
        {"empty", "", 0},
        {"chunk signature bits", "01 19 A0 00 61", 1},
        {"header cut short", "01 19", 1},
        {"copy token at the chunk's start", "01 03 B0 01 00 00", 4},
        {"copy token cut short", "01 04 B0 02 61 45", 5},
        {"more than 4096 bytes in a chunk", "01 05 B0 02 61 FF 0F FF", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            decompress(hex(c.bytes));
            ADD_FAILURE() << "accepted";
        } catch (const automation::AutomationError& e) {
            EXPECT_EQ(e.number(), 1004);
            EXPECT_EQ(e.offset(), c.offset);
            EXPECT_NE(e.description().find("macro project is damaged"), std::string::npos);
        }
    }
}

}  // namespace
