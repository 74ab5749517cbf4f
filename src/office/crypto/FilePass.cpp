// BIFF8 FILEPASS: RC4 (1.1, MS-OFFCRYPTO 2.3.6) and RC4 CryptoAPI (2.3.5).
#include <algorithm>
#include <cstring>

#include "automation/AutomationError.h"
#include "office/crypto/Crypto.h"

namespace office::crypto {
namespace {

using automation::AutomationError;
namespace errnum = automation::errnum;

constexpr std::size_t kMaxPasswordChars = 255;  // MS-OFFCRYPTO 2.3.5.2 / 2.3.6.2

[[noreturn]] void damaged(const std::string& what) {
    throw AutomationError(errnum::kApplicationDefined,
                          "The file's encryption information (FILEPASS) is damaged: " + what);
}
[[noreturn]] void unsupported(const std::string& what) {
    throw AutomationError(errnum::kApplicationDefined, "Unsupported encryption: " + what);
}

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    if (at + 2 > b.size()) damaged("record too short");
    return std::uint16_t(b[at] | b[at + 1] << 8);
}
std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    if (at + 4 > b.size()) damaged("record too short");
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

// The password as UTF-16LE; empty optional-ish result (nullopt by flag) when too long.
bool passwordBytes(const std::string& password, std::vector<std::uint8_t>& out) {
    out = utf16le(password);
    return out.size() / 2 <= kMaxPasswordChars;
}

class Rc4Std final : public Rc4BlockCipher {
public:
    explicit Rc4Std(std::array<std::uint8_t, 5> base) : base_(base) {}
protected:
    std::vector<std::uint8_t> blockKey(std::uint32_t block) const override {
        auto k = rc4BlockKey(base_, block);
        return {k.begin(), k.end()};
    }
private:
    std::array<std::uint8_t, 5> base_;
};

class Rc4CryptoApi final : public Rc4BlockCipher {
public:
    Rc4CryptoApi(std::array<std::uint8_t, 20> h0, std::size_t keyBits) : h0_(h0), keyBits_(keyBits) {}
    std::vector<std::uint8_t> key(std::uint32_t block) const {
        Sha1 h;
        h.update(h0_);
        const std::uint8_t b[4] = {std::uint8_t(block), std::uint8_t(block >> 8),
                                   std::uint8_t(block >> 16), std::uint8_t(block >> 24)};
        h.update(b);
        auto hf = h.finish();
        if (keyBits_ == 40) {
            std::vector<std::uint8_t> k(16, 0);
            std::copy_n(hf.begin(), 5, k.begin());
            return k;
        }
        return {hf.begin(), hf.begin() + keyBits_ / 8};
    }
protected:
    std::vector<std::uint8_t> blockKey(std::uint32_t block) const override { return key(block); }
private:
    std::array<std::uint8_t, 20> h0_;
    std::size_t keyBits_;
};

std::unique_ptr<BlockCipher> openRc4(std::span<const std::uint8_t> body, const std::string& password) {
    // body: wEncryptionType(2) version(4) salt(16) verifier(16) verifierHash(16)
    if (body.size() < 54) damaged("RC4 header too short");
    std::span<const std::uint8_t, 16> salt(body.data() + 6, 16);
    std::vector<std::uint8_t> pw;
    if (!passwordBytes(password, pw)) return nullptr;
    const auto base = rc4KeyBase(password, salt);
    const auto key = rc4BlockKey(base, 0);
    Rc4 rc4(key);
    std::uint8_t verifier[16], hash[16];
    std::memcpy(verifier, body.data() + 22, 16);
    std::memcpy(hash, body.data() + 38, 16);
    rc4.apply(verifier, 16);
    rc4.apply(hash, 16);
    const auto expect = md5(verifier);
    if (!std::equal(expect.begin(), expect.end(), hash)) return nullptr;
    return std::make_unique<Rc4Std>(base);
}

std::unique_ptr<BlockCipher> openCryptoApi(std::span<const std::uint8_t> body,
                                           const std::string& password) {
    // body: wEncryptionType(2) version(4) flags(4) headerSize(4) header(headerSize) verifier
    std::size_t at = 6;
    const std::uint32_t flags = u32(body, at);
    const std::uint32_t headerSize = u32(body, at + 4);
    at += 8;
    if (headerSize < 32 || headerSize > body.size() - std::min(at, body.size()))
        damaged("bad EncryptionHeader size");
    const std::uint32_t algId = u32(body, at + 8);
    const std::uint32_t algIdHash = u32(body, at + 12);
    std::uint32_t keyBits = u32(body, at + 16);
    (void)flags;
    if (algId != 0x6801 && algId != 0) unsupported("CryptoAPI algorithm is not RC4");
    if (algIdHash != 0x8004 && algIdHash != 0) unsupported("CryptoAPI hash is not SHA-1");
    if (keyBits == 0) keyBits = 40;
    if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0) damaged("bad RC4 key size");
    at += headerSize;
    const std::uint32_t saltSize = u32(body, at);
    if (saltSize != 16) damaged("bad salt size");
    at += 4;
    if (at + 16 + 16 + 4 > body.size()) damaged("verifier too short");
    const std::uint8_t* salt = body.data() + at;
    std::uint8_t verifier[16];
    std::memcpy(verifier, body.data() + at + 16, 16);
    const std::uint32_t hashSize = u32(body, at + 32);
    if (hashSize != 20) damaged("bad verifier hash size");
    if (at + 36 + 20 > body.size()) damaged("verifier hash too short");
    std::uint8_t hash[20];
    std::memcpy(hash, body.data() + at + 36, 20);

    std::vector<std::uint8_t> pw;
    if (!passwordBytes(password, pw)) return nullptr;
    Sha1 h;
    h.update({salt, 16});
    h.update(pw);
    auto cipher = std::make_unique<Rc4CryptoApi>(h.finish(), keyBits);
    const auto key = cipher->key(0);
    Rc4 rc4(key);
    rc4.apply(verifier, 16);
    rc4.apply(hash, 20);
    const auto expect = sha1(verifier);
    if (!std::equal(expect.begin(), expect.end(), hash)) return nullptr;
    return cipher;
}

}  // namespace

std::array<std::uint8_t, 5> rc4KeyBase(const std::string& password,
                                       std::span<const std::uint8_t, 16> salt) {
    auto pw = utf16le(password);
    if (pw.size() > 2 * kMaxPasswordChars) pw.resize(2 * kMaxPasswordChars);
    const auto h0 = md5(pw);
    std::uint8_t buf[16 * 21];
    for (int k = 0; k < 16; ++k) {
        std::memcpy(buf + 21 * k, h0.data(), 5);
        std::memcpy(buf + 21 * k + 5, salt.data(), 16);
    }
    const auto h1 = md5(buf);
    std::array<std::uint8_t, 5> t1;
    std::copy_n(h1.begin(), 5, t1.begin());
    return t1;
}

std::array<std::uint8_t, 16> rc4BlockKey(std::span<const std::uint8_t, 5> keyBase,
                                         std::uint32_t block) {
    std::uint8_t buf[9];
    std::memcpy(buf, keyBase.data(), 5);
    for (int k = 0; k < 4; ++k) buf[5 + k] = std::uint8_t(block >> (8 * k));
    return md5(buf);
}

std::unique_ptr<BlockCipher> openFilePass(std::span<const std::uint8_t> body,
                                          const std::string& password) {
    const std::uint16_t type = u16(body, 0);
    if (type == 0) unsupported("XOR obfuscation (Excel 95 style protection) is not supported");
    if (type != 1) damaged("unknown encryption type " + std::to_string(type));
    const std::uint16_t major = u16(body, 2);
    const std::uint16_t minor = u16(body, 4);
    if (major == 1 && minor == 1) return openRc4(body, password);
    if ((major == 2 || major == 3 || major == 4) && minor == 2) return openCryptoApi(body, password);
    unsupported("encryption version " + std::to_string(major) + "." + std::to_string(minor));
}

NewFilePass makeRc4FilePass(const std::string& password) {
    if (utf16le(password).size() / 2 > kMaxPasswordChars)
        throw AutomationError(errnum::kApplicationDefined,
                              "The password is longer than 255 characters.");
    NewFilePass out;
    out.body.assign(54, 0);
    out.body[0] = 1;  // RC4
    out.body[2] = 1;  // version 1.1
    out.body[4] = 1;
    std::uint8_t* salt = out.body.data() + 6;
    std::uint8_t* verifier = out.body.data() + 22;
    std::uint8_t* hash = out.body.data() + 38;
    randomBytes(salt, 16);
    randomBytes(verifier, 16);
    const auto h = md5({verifier, 16});
    std::memcpy(hash, h.data(), 16);
    const auto base = rc4KeyBase(password, std::span<const std::uint8_t, 16>(salt, 16));
    const auto key = rc4BlockKey(base, 0);
    Rc4 rc4(key);
    rc4.apply(verifier, 16);
    rc4.apply(hash, 16);
    out.cipher = std::make_unique<Rc4Std>(base);
    return out;
}

}  // namespace office::crypto
