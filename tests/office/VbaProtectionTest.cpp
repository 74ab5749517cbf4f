// The protection fields of a macro project: Excel's own values decode and are
// reproduced byte for byte, and the password hash opens with its password only.
#include <gtest/gtest.h>

#include "automation/AutomationError.h"
#include "office/vba/Protection.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace office::vba;

const std::string kZeroId = "{00000000-0000-0000-0000-000000000000}";
const std::string kPoiId = "{58ADF472-11B9-4CB7-AB2E-0BFBB94EAAEB}";

struct Field {
    const char* what;
    std::string projectId;
    ObfuscationNoise noise;
    std::string hex;    // as Excel wrote it
    std::string data;   // what it holds
};

// From the locked reference workbook (P@ssw0rd) and poi's Excel 2003 file.
const Field kExcelFields[] = {
    {"locked: state", kZeroId, {0x78, {}}, "787AD422D822D827DD27DD", "05000000"},
    {"locked: visibility", kZeroId, {0x68, {}}, "686AC417C517C517", "00"},
    {"locked: password hash", kZeroId, {0xF0, {}},
     "F0F25C837983797C878479D541DC4656E9929DED3ECCE97C9F2C36E2E6453C649B14400C",
     "ffffffff568ebf4674533bb9a67da60da511a1764090372102a51df800"},
    {"open: state", kPoiId, {0xF0, {}}, "F0F2CF35D335D335D335D3", "00000000"},
    {"open: no password, with filler", kPoiId, {0x17, {0x27, 0x27, 0x27}}, "1715287368BD8EBE8EBE8E", "00"},
    {"open: visible, with filler", kPoiId, {0x3E, {0x27, 0x27, 0x27}}, "3E3C015C0FA437A537A5C8", "ff"},
};

Bytes fromHex(const std::string& h) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < h.size(); i += 2) out.push_back(std::uint8_t(std::stoi(h.substr(i, 2), nullptr, 16)));
    return out;
}

TEST(VbaProtection, ExcelsFieldsDecodeAndAreReproducedExactly) {
    for (const Field& f : kExcelFields) {
        SCOPED_TRACE(f.what);
        EXPECT_EQ(testsupport::hexText(deobfuscate(f.hex)), f.data);
        EXPECT_EQ(obfuscate(fromHex(f.data), f.projectId, f.noise), f.hex);
    }
}

TEST(VbaProtection, RandomNoiseStillDecodes) {
    const Bytes data = {1, 2, 3, 0, 255};
    for (int i = 0; i < 50; ++i) EXPECT_EQ(deobfuscate(obfuscate(data, "{12345678-9ABC-DEF0-1234-56789ABCDEF0}")), data);
}

TEST(VbaProtection, ThePasswordOfTheLockedReferenceOpensItAndNoOtherDoes) {
    const Bytes data = deobfuscate(kExcelFields[2].hex);
    EXPECT_TRUE(hasPassword(data));
    EXPECT_TRUE(passwordOpens(data, "P@ssw0rd"));
    for (const char* wrong : {"", "p@ssw0rd", "P@ssw0rd ", "P@ssw0r", "password"}) EXPECT_FALSE(passwordOpens(data, wrong)) << wrong;
    // Made again from its key, the structure is Excel's byte for byte.
    EXPECT_EQ(passwordHashData("P@ssw0rd", {0x56, 0x8e, 0xbf, 0x46}), data);
}

// A password whose hash holds a zero byte: the byte is stored as 0x01 and its
// flag cleared. These DPB values (password "a", and "1234") come from a public
// collection of values written by Excel.
TEST(VbaProtection, ZeroBytesInTheHashAreFlagged) {
    const Bytes withZero = deobfuscate("1715BB935FB7ACD4ACD4532CADC4D4669508A7726A96A2284017A34DB7ECC4A8F2858EC86E3F2F");
    EXPECT_EQ(testsupport::hexText(Bytes(withZero.begin(), withZero.begin() + 4)), "ffffffef");
    EXPECT_TRUE(passwordOpens(withZero, "a"));
    EXPECT_FALSE(passwordOpens(withZero, "b"));
    EXPECT_EQ(passwordHashData("a", {0x48, 0x6a, 0xab, 0x19}), withZero);

    EXPECT_TRUE(passwordOpens(deobfuscate("6062CC13E913E9EC1714E94DB4B5BB69EAA21E41EBFCFC944A99D12883ECB411D5C4C725"), "1234"));

    // A zero byte in the key is flagged in the first four bits.
    const Bytes zeroKey = passwordHashData("ab1234", {0x00, 0x11, 0x00, 0x22});
    EXPECT_EQ(zeroKey[1] & 0xF0, 0x50);
    EXPECT_EQ(zeroKey[4], 0x01);
    EXPECT_TRUE(passwordOpens(zeroKey, "ab1234"));
    EXPECT_FALSE(passwordOpens(zeroKey, "ab1235"));
}

TEST(VbaProtection, NoPasswordAndPlainTextPasswords) {
    EXPECT_FALSE(hasPassword(Bytes{0x00}));
    EXPECT_TRUE(passwordOpens(Bytes{0x00}, ""));
    EXPECT_FALSE(passwordOpens(Bytes{0x00}, "x"));
    const Bytes plain = {'s', 'e', 'c', 0x00};
    EXPECT_TRUE(hasPassword(plain));
    EXPECT_TRUE(passwordOpens(plain, "sec"));
    EXPECT_FALSE(passwordOpens(plain, "se"));
}

TEST(VbaProtection, MalformedFieldsAreRefused) {
    for (const char* bad : {"787AD422D822D827DD27D",      // odd length
                            "787AD422D822D827DD27DG",     // not hexadecimal
                            "787BD422D822D827DD27DD",     // version 3
                            "787AD422D822D827DD27",       // one data byte missing
                            "787AD4"}) {                 // too short
        SCOPED_TRACE(bad);
        EXPECT_THROW(deobfuscate(bad), automation::AutomationError);
    }
}

}  // namespace
