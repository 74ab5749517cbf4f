// The text rules every layer shares: UTF-8/UTF-16 conversion, case folding
// that does not depend on the process's locale, and the display order.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <random>
#include <vector>

#include "text/CaseFold.h"
#include "text/Collation.h"
#include "text/LocaleNumber.h"
#include "text/Utf.h"
#include "text/Windows1252.h"

namespace {

std::string fromUnits(const std::u16string& units) {
    std::string out;
    text::Utf16Decoder decoder(out);
    for (char16_t u : units) decoder.add(u);
    decoder.finish();
    return out;
}

TEST(TextUtf, Utf8AndUtf16BothWays) {
    const std::string samples[] = {"", "plain", "\u00E9\u00FF\u0100", "\u4E2D\u6587", "\U0001F600 \U00010348 end",
                                   std::string("nul\0inside", 10)};
    for (const std::string& s : samples) {
        EXPECT_EQ(fromUnits(text::utf8ToUtf16(s)), s);
        EXPECT_EQ(text::utf16ToUtf8(text::utf8ToUtf16(s)), s);
    }
    EXPECT_EQ(text::utf8ToUtf16("\U0001F600"), u"\xD83D\xDE00");

    std::string latin;
    const std::uint8_t compressed[] = {'A', 0xE9, 0xFF};
    text::appendLatin1(latin, compressed, 3);
    EXPECT_EQ(latin, "A\u00E9\u00FF");
}

TEST(TextUtf, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(text::utf8ToUtf16("a\xFF" "b\xC3"), u"a\xFFFD" u"b\xFFFD");   // stray byte, cut sequence
    EXPECT_EQ(text::utf8ToUtf16("\xED\xA0\x80"), u"\xFFFD\xFFFD\xFFFD");    // an encoded surrogate is not UTF-8
    EXPECT_EQ(text::utf8ToUtf16("\xC0\xAF"), u"\xFFFD\xFFFD");              // overlong
    EXPECT_EQ(text::utf8ToUtf16("\xF5\x80\x80\x80"), u"\xFFFD\xFFFD\xFFFD\xFFFD");  // beyond U+10FFFF
    EXPECT_EQ(fromUnits(u"a\xD800" u"b"), "a\uFFFDb");  // lone high surrogate
    EXPECT_EQ(fromUnits(u"\xDC00"), "\uFFFD");          // lone low surrogate
    EXPECT_EQ(fromUnits(u"x\xD83D"), "x\uFFFD");        // high surrogate at the end

    // A surrogate pair split between two pieces still makes one character.
    std::string out;
    text::Utf16Decoder decoder(out);
    decoder.add(0xD83D);
    decoder.add(0xDE00);
    decoder.finish();
    EXPECT_EQ(out, "\U0001F600");
}

// The records' strings are decoded in whole runs; the result must be what
// decoding one unit at a time gives, however the runs are cut.
TEST(TextUtf, RunsDecodeAsOneUnitAtATime) {
    const std::uint16_t pool[] = {'a', 'Z', 0x00, 0x7F, 0x80, 0xE8, 0x7FF, 0x800, 0x4E2D, 0xFFFF,
                                  0xD83D, 0xDBFF, 0xDE00, 0xDC00};
    std::mt19937 rng(15);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes;
        const std::size_t units = rng() % 40;
        const bool mostlyAscii = round % 2 == 0;
        std::string expected;
        text::Utf16Decoder reference(expected);
        for (std::size_t i = 0; i < units; ++i) {
            const std::uint16_t u = mostlyAscii && rng() % 8 ? static_cast<std::uint16_t>('a' + rng() % 26)
                                                             : pool[rng() % std::size(pool)];
            reference.add(u);
            bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(u >> 8));
        }
        reference.finish();
        std::string out = "kept ";
        text::Utf16Decoder decoder(out);
        for (std::size_t at = 0; at < units;) {
            const std::size_t piece = std::min<std::size_t>(units - at, rng() % 6);
            decoder.addLittleEndian(bytes.data() + 2 * at, piece);
            at += piece;
        }
        decoder.finish();
        ASSERT_EQ(out, "kept " + expected) << "round " << round;
    }
    // A high surrogate waiting when a run of plain letters comes.
    std::string out;
    text::Utf16Decoder decoder(out);
    const std::uint8_t high[] = {0x3D, 0xD8}, letters[] = {'o', 0, 'k', 0};
    decoder.addLittleEndian(high, 1);
    decoder.addLittleEndian(letters, 2);
    decoder.finish();
    EXPECT_EQ(out, "\uFFFDok");

    // Compressed characters: every byte as its code point.
    std::vector<std::uint8_t> all(256);
    std::string expectedLatin = "x";
    for (int b = 0; b < 256; ++b) {
        all[b] = static_cast<std::uint8_t>(b);
        text::appendUtf8(expectedLatin, static_cast<char32_t>(b));
    }
    std::string latin = "x";
    text::appendLatin1(latin, all.data(), all.size());
    EXPECT_EQ(latin, expectedLatin);
    latin = "x";
    text::appendLatin1(latin, all.data(), 128);  // the plain run alone
    EXPECT_EQ(latin, expectedLatin.substr(0, 129));
}

TEST(TextUtf, CountsCharactersNotBytes) {
    EXPECT_EQ(text::characterCount("äöü"), 3u);
    EXPECT_EQ(text::characterCount("a\U0001F600b"), 3u);
    EXPECT_EQ(text::characterCount("a\xFF"), 2u);
    EXPECT_EQ(text::characterCount(""), 0u);
}

// Folding must give the same answer whatever the process's locale says.
class TextFoldingTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, GetParam())) GTEST_SKIP() << "locale " << GetParam() << " is not installed";
    }
    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }
    std::string previous_;
};

TEST_P(TextFoldingTest, FoldsEveryScriptAndKeepsMalformedBytes) {
    EXPECT_EQ(text::foldCase("ÄPFEL Straße ÉCOLE"), "äpfel straße école");
    EXPECT_EQ(text::foldCase("ŁÓDŹ"), "łódź");
    EXPECT_EQ(text::foldCase("ΑΒΓ ΣΟΦΙΑ ПРИВЕТ Ё"), "αβγ σοφια привет ё");
    EXPECT_EQ(text::foldCase("ǅ Ǆ ǆ"), "ǆ ǆ ǆ");  // title case folds too
    EXPECT_EQ(text::foldCase("×"), "×");          // the multiplication sign is no capital
    EXPECT_EQ(text::foldCase(std::string("A\xFF" "B")), std::string("a\xFF" "b"));
    EXPECT_TRUE(text::equalsIgnoringCase("Élite", "élite"));
    EXPECT_TRUE(text::equalsIgnoringCase("ΟΔΟΣ", "οδος"));
    EXPECT_TRUE(text::equalsIgnoringCase("DATA", "data"));
    EXPECT_FALSE(text::equalsIgnoringCase("DATA", "DATA2"));
    EXPECT_FALSE(text::equalsIgnoringCase("elite", "élite"));  // accents count
}

// Comparing without case gives what comparing the folded texts gives, for
// texts ASCII throughout, ASCII up to a point, or not at all.
TEST_P(TextFoldingTest, ComparingWithoutCaseAgreesWithFoldingEveryPair) {
    EXPECT_EQ(text::foldCase("Group STRASSE Straße"), "group strasse straße");
    EXPECT_EQ(text::foldCase("Ab\u212A"), "abk");  // the Kelvin sign folds to a plain k
    const std::vector<std::string> texts = {
        "", "a", "A", "ab", "AB", "abc", "Group 5", "GROUP 5", "group 5 ", "k", "K", "\u212A", "ab\u212A",
        "AB\u212A", "abk", "Straße", "STRAßE", "strasse", "Élite", "élite", "elite", "ÉLITE2",
        std::string("A\xFF"), std::string("a\xFF"), std::string("a\xFE"), std::string("\xC3"), "ΟΔΟΣ", "οδος",
    };
    for (const std::string& a : texts)
        for (const std::string& b : texts)
            EXPECT_EQ(text::equalsIgnoringCase(a, b), text::foldCase(a) == text::foldCase(b)) << a << " | " << b;
}

INSTANTIATE_TEST_SUITE_P(Locales, TextFoldingTest, ::testing::Values("C", "POSIX", "C.UTF-8"));

std::vector<std::string> sortedFor(const text::Collation& collation, std::vector<std::string> names) {
    std::sort(names.begin(), names.end(),
              [&](const std::string& a, const std::string& b) { return collation.sortKey(a) < collation.sortKey(b); });
    return names;
}

TEST(TextCollation, CKeepsAccentedLettersBesideTheirBaseLetters) {
    const text::Collation collation("C");
    EXPECT_EQ(collation.locale(), "");
    EXPECT_EQ(sortedFor(collation, {"zebra", "Élite", "eagle", "fig", "apple"}),
              (std::vector<std::string>{"apple", "eagle", "Élite", "fig", "zebra"}));
}

TEST(TextCollation, KeysAreEqualExactlyWhenTheTextsFoldAlike) {
    for (const char* locale : {"C", "it_IT.UTF-8", "sv_SE.UTF-8"}) {
        const text::Collation collation(locale);
        EXPECT_EQ(collation.sortKey("Élite"), collation.sortKey("éLITE")) << locale;
        EXPECT_NE(collation.sortKey("Élite"), collation.sortKey("Elite")) << locale;
        // The common order calls the ligature and its letters equal; the
        // folded text still tells them apart.
        EXPECT_NE(collation.sortKey("\uFB01le"), collation.sortKey("file")) << locale;
    }
}

TEST(TextCollation, FollowsTheLocalesOwnOrder) {
    // Swedish puts "ö" after "z"; the common order puts it beside "o".
    EXPECT_EQ(sortedFor(text::Collation("sv_SE.UTF-8"), {"ö", "z", "o"}), (std::vector<std::string>{"o", "z", "ö"}));
    EXPECT_EQ(sortedFor(text::Collation("it_IT.UTF-8@euro"), {"ö", "z", "o"}),
              (std::vector<std::string>{"o", "ö", "z"}));
    EXPECT_EQ(text::Collation("it_IT.UTF-8@euro").locale(), "it_IT");
}

TEST(TextCollation, CompareForDisplayIsZeroOnlyForCaseVariants) {
    EXPECT_EQ(text::compareForDisplay("Budget", "BUDGET"), 0);
    EXPECT_LT(text::compareForDisplay("alpha", "Beta"), 0);
    EXPECT_GT(text::compareForDisplay("beta", "ALPHA"), 0);
    EXPECT_NE(text::compareForDisplay("a\x01", "a"), 0);  // an ignorable character still tells them apart
}

TEST(TextNumbers, ReadWithTheDecimalSeparatorOfTheLocale) {
    const text::NumberReader italian("it_IT.UTF-8");
    EXPECT_EQ(italian.read("99,6"), 99.6);
    EXPECT_EQ(italian.read(" -3 "), -3.0);
    EXPECT_EQ(italian.read(",5"), 0.5);
    EXPECT_EQ(italian.read("99.6"), std::nullopt);
    EXPECT_EQ(italian.read("1.000,5"), std::nullopt);  // no thousands separators
    for (const char* locale : {"en_GB.UTF-8", "C", "POSIX", ""}) {
        const text::NumberReader reader(locale);
        EXPECT_EQ(reader.read("099.6"), 99.6) << locale;
        EXPECT_EQ(reader.read("+7"), 7.0) << locale;
        EXPECT_EQ(reader.read("99,6"), std::nullopt) << locale;
        EXPECT_EQ(reader.read("abc"), std::nullopt) << locale;
        EXPECT_EQ(reader.read("-"), std::nullopt) << locale;
        EXPECT_EQ(reader.read("1e3"), std::nullopt) << locale;
    }
}

}  // namespace

// Macro source is kept as UTF-8 and written back in the code page: every one
// of the 256 bytes must survive the trip, the five the code page leaves
// undefined included, or a read-then-write of a project changes its code.
TEST(TextWindows1252, EveryByteReadsAndWritesBackUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = text::windows1252ToUtf8(all);
    EXPECT_EQ(text::utf8ToWindows1252(utf8), all);
    EXPECT_EQ(text::windows1252ToUtf8("\x80\x9C"), "\u20AC\u0153");
    // What the code page cannot hold becomes one '?' per character.
    EXPECT_EQ(text::utf8ToWindows1252("a\u4E2D\U0001F600b"), "a??b");
}
