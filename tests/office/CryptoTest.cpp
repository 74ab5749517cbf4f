// Crypto primitives (MD5, SHA-1, RC4) and BIFF8 FILEPASS encryption, with
// published vectors and real encrypted workbooks (cross-checked against
// msoffcrypto-tool when /usr/bin/python3 has it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/crypto/Crypto.h"
#include "support/TestSupport.h"

namespace {

using automation::AutomationError;
namespace crypto = office::crypto;
namespace fs = std::filesystem;

std::span<const std::uint8_t> bytesOf(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::vector<std::uint8_t> unhex(std::string_view h) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < h.size(); i += 2)
        out.push_back(std::uint8_t(std::stoi(std::string(h.substr(i, 2)), nullptr, 16)));
    return out;
}


// ---------------------------------------------------------------- hashes

TEST(CryptoTest, Md5Rfc1321) {
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf(""))), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf("a"))), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf("abc"))), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf("message digest"))), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf("abcdefghijklmnopqrstuvwxyz"))), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"))),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(testsupport::hexText(crypto::md5(bytesOf("1234567890123456789012345678901234567890"
                                      "1234567890123456789012345678901234567890"))),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(CryptoTest, Sha1Fips180) {
    EXPECT_EQ(testsupport::hexText(crypto::sha1(bytesOf("abc"))), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(testsupport::hexText(crypto::sha1(bytesOf(""))), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(testsupport::hexText(crypto::sha1(bytesOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"))),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    const std::string million(1000000, 'a');
    EXPECT_EQ(testsupport::hexText(crypto::sha1(bytesOf(million))), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(CryptoTest, IncrementalHashingMatchesOneShot) {
    std::vector<std::uint8_t> data(1000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i * 31 + 7);
    for (std::size_t split : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 128u, 999u}) {
        crypto::Md5 m;
        crypto::Sha1 s;
        m.update({data.data(), split});
        m.update({data.data() + split, data.size() - split});
        s.update({data.data(), split});
        s.update({data.data() + split, data.size() - split});
        EXPECT_EQ(m.finish(), crypto::md5(data)) << split;
        EXPECT_EQ(s.finish(), crypto::sha1(data)) << split;
    }
    // Lengths around the padding boundary.
    for (std::size_t n = 50; n < 70; ++n) {
        crypto::Md5 m;
        for (std::size_t i = 0; i < n; ++i) m.update({data.data() + i, 1});
        EXPECT_EQ(m.finish(), crypto::md5({data.data(), n})) << n;
    }
}

// ---------------------------------------------------------------- RC4

std::string rc4Hex(std::string_view key, std::string_view plain) {
    std::vector<std::uint8_t> buf(plain.begin(), plain.end());
    crypto::Rc4 rc4(bytesOf(key));
    rc4.apply(buf.data(), buf.size());
    return testsupport::hexText(buf);
}

TEST(CryptoTest, Rc4KnownAnswers) {
    EXPECT_EQ(rc4Hex("Key", "Plaintext"), "bbf316e8d940af0ad3");
    EXPECT_EQ(rc4Hex("Wiki", "pedia"), "1021bf0420");
    EXPECT_EQ(rc4Hex("Secret", "Attack at dawn"), "45a01f645fc35b383552544b9bf5");
    // RFC 6229, 40-bit key 0x0102030405: offsets 0 and 4096.
    const std::uint8_t key[] = {1, 2, 3, 4, 5};
    crypto::Rc4 rc4(key);
    std::vector<std::uint8_t> z(16, 0);
    rc4.apply(z.data(), 16);
    EXPECT_EQ(testsupport::hexText(z), "b2396305f03dc027ccc3524a0a1118a8");
    rc4.skip(4096 - 16);
    std::fill(z.begin(), z.end(), 0);
    rc4.apply(z.data(), 16);
    EXPECT_EQ(testsupport::hexText(z), "ff25b58995996707e51fbdf08b34d875");
    EXPECT_THROW(crypto::Rc4(std::span<const std::uint8_t>{}), std::invalid_argument);
}

// Two keystreams made side by side are each key's own keystream: RFC 6229's
// 40-bit key beside keys of one byte and of 256 bytes, and the known
// answers above, at their offsets.
TEST(CryptoTest, Rc4KeystreamsOfTwoKeysAtOnceAreEachKeysOwn) {
    std::vector<std::uint8_t> longest(256);
    for (std::size_t k = 0; k < longest.size(); ++k) longest[k] = std::uint8_t(k * 7 + 3);
    const std::vector<std::vector<std::uint8_t>> keys = {{1, 2, 3, 4, 5}, {0x42}, longest, {'K', 'e', 'y'}};
    constexpr std::size_t kBytes = 4096 + 16;
    auto alone = [](const std::vector<std::uint8_t>& key) {
        std::vector<std::uint8_t> stream(kBytes, 0);
        crypto::Rc4(key).apply(stream.data(), stream.size());
        return stream;
    };
    for (std::size_t a = 0; a < keys.size(); ++a) {
        const std::vector<std::uint8_t>& b = keys[(a + 1) % keys.size()];
        std::vector<std::uint8_t> streamA(kBytes, 0xEE), streamB(kBytes, 0xEE);
        crypto::Rc4::keystreams(keys[a], b, streamA.data(), streamB.data(), kBytes);
        EXPECT_EQ(streamA, alone(keys[a])) << "key " << a;
        EXPECT_EQ(streamB, alone(b)) << "key " << (a + 1) % keys.size();
    }
    std::vector<std::uint8_t> rfc(kBytes), other(kBytes);
    crypto::Rc4::keystreams(keys[0], keys[1], rfc.data(), other.data(), kBytes);
    EXPECT_EQ(testsupport::hexText(std::span<const std::uint8_t>(rfc).subspan(4096, 16)), "ff25b58995996707e51fbdf08b34d875");
}

TEST(CryptoTest, Utf16Password) {
    EXPECT_EQ(testsupport::hexText(crypto::utf16le("ab")), "61006200");
    EXPECT_EQ(testsupport::hexText(crypto::utf16le("\xC3\xA9")), "e900");          // é
    EXPECT_EQ(testsupport::hexText(crypto::utf16le("\xE2\x82\xAC")), "ac20");      // €
    EXPECT_EQ(testsupport::hexText(crypto::utf16le("\xF0\x9F\x98\x80")), "3dd800de");  // U+1F600
    EXPECT_EQ(testsupport::hexText(crypto::utf16le("\xFF")), "fdff");              // invalid -> U+FFFD
}

// ---------------------------------------------------------------- FILEPASS RC4 1.1

TEST(CryptoTest, Rc4KeyDerivationVector) {
    // msoffcrypto-tool's documented vector (formats.md).
    const auto salt = unhex("e8772c1d91c56a37964761b280183217");
    const auto base = crypto::rc4KeyBase("password1", std::span<const std::uint8_t, 16>(salt.data(), 16));
    EXPECT_EQ(testsupport::hexText(crypto::rc4BlockKey(base, 0)), "20bf32ddf540858c513744af0f24e03c");
}

TEST(CryptoTest, NewFilePassOpensWithItsPasswordOnly) {
    for (const std::string& pw : std::vector<std::string>{"secret", "", "p\xC3\xA4ssw\xC3\xB6rd \xE2\x82\xAC", std::string(255, 'x')}) {
        auto made = crypto::makeRc4FilePass(pw);
        ASSERT_EQ(made.body.size(), 54u);
        EXPECT_EQ(made.body[0], 1);
        EXPECT_EQ(made.body[2], 1);
        EXPECT_EQ(made.body[4], 1);
        auto opened = crypto::openFilePass(made.body, pw);
        ASSERT_TRUE(opened) << pw;
        EXPECT_FALSE(crypto::openFilePass(made.body, pw + "x"));
        EXPECT_FALSE(crypto::openFilePass(made.body, "Secret"));
        // The writer's cipher and the reader's agree, at any offsets.
        std::vector<std::uint8_t> plain(5000);
        for (std::size_t i = 0; i < plain.size(); ++i) plain[i] = std::uint8_t(i);
        auto enc = plain;
        made.cipher->process(enc.data(), enc.size(), 300);
        EXPECT_NE(enc, plain);
        opened->process(enc.data(), enc.size(), 300);
        EXPECT_EQ(enc, plain);
    }
    // Two files get different salts.
    EXPECT_NE(crypto::makeRc4FilePass("a").body, crypto::makeRc4FilePass("a").body);
    EXPECT_THROW(crypto::makeRc4FilePass(std::string(256, 'x')), AutomationError);
}

TEST(CryptoTest, BlockCipherRandomAccessMatchesSequential) {
    auto made = crypto::makeRc4FilePass("order");
    std::vector<std::uint8_t> seq(10000, 0);
    made.cipher->process(seq.data(), seq.size(), 0);  // the keystream itself
    // Block keys differ: bytes 1024.. are not a continuation of block 0.
    const std::uint8_t* b0 = seq.data();
    EXPECT_FALSE(std::equal(b0, b0 + 64, seq.data() + 1024));
    std::mt19937 rng(5);
    auto other = crypto::openFilePass(made.body, "order");
    for (int k = 0; k < 200; ++k) {
        const std::size_t off = rng() % 9000;
        const std::size_t n = rng() % 1000;
        std::vector<std::uint8_t> part(n, 0);
        (k % 2 ? *other : *made.cipher).process(part.data(), n, off);
        ASSERT_TRUE(std::equal(part.begin(), part.end(), seq.begin() + off)) << off << "+" << n;
    }
    // Byte by byte, forwards.
    std::vector<std::uint8_t> one(3000, 0);
    for (std::size_t i = 0; i < one.size(); ++i) other->process(&one[i], 1, i);
    EXPECT_TRUE(std::equal(one.begin(), one.end(), seq.begin()));
    // Whole blocks' keystreams, made two at a time and a lone one after them.
    for (const std::size_t first : {0u, 1u, 4u}) {
        std::vector<std::uint8_t> blocks(5 * crypto::kCipherBlock, 0xEE);
        const std::size_t count = std::min<std::size_t>(5, seq.size() / crypto::kCipherBlock - first);
        other->keystream(first, count, blocks.data());
        ASSERT_TRUE(std::equal(blocks.begin(), blocks.begin() + count * crypto::kCipherBlock,
                               seq.begin() + first * crypto::kCipherBlock))
            << "from block " << first;
    }
}

TEST(CryptoTest, DamagedOrUnsupportedFilePass) {
    EXPECT_THROW(crypto::openFilePass({}, "x"), AutomationError);
    const std::uint8_t xorBody[] = {0, 0, 0x12, 0x34, 0x56, 0x78};
    try {
        crypto::openFilePass(xorBody, "x");
        FAIL();
    } catch (const AutomationError& e) {
        EXPECT_NE(e.description().find("nsupported"), std::string::npos) << e.description();
    }
    auto made = crypto::makeRc4FilePass("x");
    auto shortBody = made.body;
    shortBody.resize(40);
    EXPECT_THROW(crypto::openFilePass(shortBody, "x"), AutomationError);
    auto badVersion = made.body;
    badVersion[2] = 9;
    EXPECT_THROW(crypto::openFilePass(badVersion, "x"), AutomationError);
    auto badType = made.body;
    badType[0] = 7;
    EXPECT_THROW(crypto::openFilePass(badType, "x"), AutomationError);
    // A CryptoAPI header with a lying header size.
    std::vector<std::uint8_t> api = {1, 0, 4, 0, 2, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    api.resize(200, 0);
    EXPECT_THROW(crypto::openFilePass(api, "x"), AutomationError);
    // Random bodies never crash.
    std::mt19937 rng(3);
    for (int k = 0; k < 500; ++k) {
        std::vector<std::uint8_t> b(rng() % 260);
        for (auto& c : b) c = std::uint8_t(rng());
        if (b.size() >= 6 && k % 2) {
            b[0] = 1, b[1] = 0, b[2] = std::uint8_t(2 + k % 3), b[3] = 0, b[4] = 2, b[5] = 0;
            if (b.size() >= 14) b[10] = std::uint8_t(rng() % 200), b[11] = b[12] = b[13] = 0;
        }
        try {
            (void)crypto::openFilePass(b, "password");
        } catch (const AutomationError&) {
        }
    }
}

// ---------------------------------------------------------------- real files

struct EncryptedSample {
    const char* file;  // "data/x.xls" (tests/data) or "reference/x.xls" (shared)
    const char* password;
};

const EncryptedSample kSamples[] = {
    {"data/locked.xls", "ab1234"},
    {"data/protected.xls", crypto::kDefaultPassword},
    {"reference/poi_password.xls", "password"},
    {"reference/sheetjs_password_2002_40_basecrypto.xls", "password"},
    {"reference/sheetjs_password_2002_128_strong.xls", "password"},
    {"reference/msoffcrypto_rc4cryptoapi_password.xls", "Password1234_"},
    {"reference/poi_50833.xls", crypto::kDefaultPassword},
    {"reference/oletools_autostart-encrypt-standardpassword.xls", crypto::kDefaultPassword},
};

fs::path samplePath(const EncryptedSample& s) {
    const std::string f = s.file;
    if (f.rfind("data/", 0) == 0) return testsupport::testData(f.substr(5));
    return testsupport::sharedSample(f);
}

std::uint16_t get16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

// Decrypts a whole Workbook stream the way MS-XLS 2.2.10 says, blanking the
// FILEPASS record (id and body, keeping its size) as msoffcrypto-tool does.
std::vector<std::uint8_t> decryptWorkbook(std::vector<std::uint8_t> wb, crypto::BlockCipher& cipher) {
    std::size_t pos = 0;
    while (pos + 4 <= wb.size()) {
        const std::uint16_t id = get16(wb, pos), size = get16(wb, pos + 2);
        const std::size_t body = pos + 4;
        const std::size_t n = std::min<std::size_t>(size, wb.size() - body);
        switch (id) {
        case 0x0809: case 0x00E1: case 0x0194: case 0x0195: case 0x0196: case 0x0138:
            break;  // never encrypted
        case 0x002F:
            std::fill(wb.begin() + pos, wb.begin() + pos + 2, 0);  // id 0, size kept
            std::fill(wb.begin() + body, wb.begin() + body + n, 0);
            break;
        case 0x0085:  // BOUNDSHEET8: lbPlyPos stays clear
            if (n > 4) cipher.process(wb.data() + body + 4, n - 4, body + 4);
            break;
        default:
            cipher.process(wb.data() + body, n, body);
        }
        pos = body + size;
    }
    return wb;
}

std::vector<std::uint8_t> filePassBody(const std::vector<std::uint8_t>& wb) {
    std::size_t pos = 0;
    for (int k = 0; k < 4 && pos + 4 <= wb.size(); ++k) {
        const std::uint16_t id = get16(wb, pos), size = get16(wb, pos + 2);
        if (id == 0x002F) return {wb.begin() + pos + 4, wb.begin() + pos + 4 + size};
        pos += 4 + size;
    }
    return {};
}

TEST(CryptoTest, RealEncryptedWorkbooks) {
    for (const auto& s : kSamples) {
        SCOPED_TRACE(s.file);
        const auto file = testsupport::readFileBytes(samplePath(s));
        if (file.empty()) {
            std::printf("skipping missing %s\n", s.file);
            continue;
        }
        const auto root = office::cfb::readCompoundFile(file);
        const auto* wb = root.child("Workbook");
        ASSERT_NE(wb, nullptr);
        EXPECT_EQ(get16(wb->data, 0), 0x0809);
        const auto fp = filePassBody(wb->data);
        ASSERT_FALSE(fp.empty());
        EXPECT_FALSE(crypto::openFilePass(fp, "wrong"));
        EXPECT_FALSE(crypto::openFilePass(fp, std::string(s.password) + "1"));
        auto cipher = crypto::openFilePass(fp, s.password);
        ASSERT_TRUE(cipher);
        // Globals must decrypt to sensible records: CODEPAGE = 1200 (UTF-16).
        const auto plain = decryptWorkbook(wb->data, *cipher);
        std::size_t pos = 0;
        bool found = false;
        while (pos + 4 <= plain.size() && !found) {
            const std::uint16_t id = get16(plain, pos), size = get16(plain, pos + 2);
            if (id == 0x0042) {
                EXPECT_EQ(size, 2);
                EXPECT_EQ(get16(plain, pos + 4), 1200);
                found = true;
            }
            pos += 4 + size;
        }
        EXPECT_TRUE(found);
    }
}

TEST(CryptoTest, DefaultPasswordOpensProtectedWorkbook) {
    const auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData("protected.xls")));
    const auto fp = filePassBody(root.child("Workbook")->data);
    EXPECT_TRUE(crypto::openFilePass(fp, "VelvetSweatshop"));
    EXPECT_FALSE(crypto::openFilePass(fp, "velvetsweatshop"));  // case matters
}

TEST(CryptoTest, DecryptionMatchesMsoffcrypto) {
    if (std::system("/usr/bin/python3 -c 'import msoffcrypto, olefile' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "/usr/bin/python3 has no msoffcrypto-tool";
    testsupport::TempFolder tmp("cryptotest");
    const auto script = tmp.path() / "dec.py";
    {
        std::ofstream out(script);
        out << R"PY(
import msoffcrypto, olefile, io, sys
a = sys.argv[1:]
for src, pw, dst in zip(a[0::3], a[1::3], a[2::3]):
    f = msoffcrypto.OfficeFile(open(src, 'rb'))
    f.load_key(password=pw)
    buf = io.BytesIO()
    f.decrypt(buf)
    open(dst, 'wb').write(olefile.OleFileIO(buf.getvalue()).openstream('Workbook').read())
)PY";
    }
    std::string cmd = "/usr/bin/python3 -W ignore " + script.string();
    std::vector<std::size_t> used;
    for (std::size_t i = 0; i < std::size(kSamples); ++i) {
        if (!fs::exists(samplePath(kSamples[i]))) continue;
        used.push_back(i);
        cmd += " '" + samplePath(kSamples[i]).string() + "' '" + kSamples[i].password + "' '" +
               (tmp.path() / (std::to_string(i) + ".bin")).string() + "'";
    }
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (std::size_t i : used) {
        SCOPED_TRACE(kSamples[i].file);
        const auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(samplePath(kSamples[i])));
        const auto& wb = root.child("Workbook")->data;
        auto cipher = crypto::openFilePass(filePassBody(wb), kSamples[i].password);
        ASSERT_TRUE(cipher);
        const auto ours = decryptWorkbook(wb, *cipher);
        const auto theirs = testsupport::readFileBytes(tmp.path() / (std::to_string(i) + ".bin"));
        ASSERT_EQ(ours.size(), theirs.size());
        EXPECT_TRUE(ours == theirs);
    }
}

}  // namespace
