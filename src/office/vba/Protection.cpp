#include "office/vba/Protection.h"

#include <algorithm>

#include "automation/AutomationError.h"
#include "office/crypto/Crypto.h"

namespace office::vba {
namespace {

constexpr std::uint8_t kVersion = 2;
constexpr std::size_t kHashDataSize = 29;
constexpr std::uint8_t kHashReserved = 0xFF;
constexpr std::size_t kKeySize = 4;
constexpr std::size_t kHashSize = 20;

[[noreturn]] void damaged(const std::string& what) {
    throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                      "The macro project is damaged: " + what + ".");
}

std::uint8_t projectKey(std::string_view projectId) {
    std::uint8_t key = 0;
    for (char c : projectId) key = static_cast<std::uint8_t>(key + static_cast<std::uint8_t>(c));
    return key;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Each byte after the first three is XORed with the sum of the obfuscated
// byte two places back and the plain byte one place back.
class Chain {
public:
    Chain(std::uint8_t versionEnc, std::uint8_t keyEnc, std::uint8_t key)
        : encBack2_(versionEnc), encBack1_(keyEnc), plainBack1_(key) {}

    std::uint8_t hide(std::uint8_t plain) {
        const auto enc = static_cast<std::uint8_t>(plain ^ mask());
        advance(plain, enc);
        return enc;
    }
    std::uint8_t reveal(std::uint8_t enc) {
        const auto plain = static_cast<std::uint8_t>(enc ^ mask());
        advance(plain, enc);
        return plain;
    }

private:
    std::uint8_t mask() const { return static_cast<std::uint8_t>(encBack2_ + plainBack1_); }
    void advance(std::uint8_t plain, std::uint8_t enc) {
        encBack2_ = encBack1_;
        encBack1_ = enc;
        plainBack1_ = plain;
    }
    std::uint8_t encBack2_, encBack1_, plainBack1_;
};

// Zero bytes are stored as 0x01 with their flag bit cleared. The flags of
// the key's four bytes and the hash's twenty run through three bytes in
// order, most significant bit first (as a hash Excel wrote with a zero byte
// in it shows).
void encodeNulls(std::span<const std::uint8_t> bytes, std::size_t firstFlag, std::vector<std::uint8_t>& out) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t flag = firstFlag + i;
        if (bytes[i] != 0) out[1 + flag / 8] |= static_cast<std::uint8_t>(0x80u >> (flag % 8));
        out.push_back(bytes[i] != 0 ? bytes[i] : 0x01);
    }
}

std::vector<std::uint8_t> decodeNulls(std::span<const std::uint8_t> data, std::size_t at, std::size_t count,
                                      std::size_t firstFlag) {
    std::vector<std::uint8_t> out(data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t flag = firstFlag + i;
        if (!(data[1 + flag / 8] & (0x80u >> (flag % 8)))) out[i] = 0;
    }
    return out;
}

std::array<std::uint8_t, kHashSize> hashOf(std::string_view passwordBytes, std::span<const std::uint8_t> key) {
    crypto::Sha1 sha;
    sha.update({reinterpret_cast<const std::uint8_t*>(passwordBytes.data()), passwordBytes.size()});
    sha.update(key);
    return sha.finish();
}

}  // namespace

std::string obfuscate(std::span<const std::uint8_t> data, std::string_view projectId, const ObfuscationNoise& noise) {
    const std::uint8_t seed = noise.seed;
    const std::uint8_t key = projectKey(projectId);
    const auto versionEnc = static_cast<std::uint8_t>(seed ^ kVersion);
    const auto keyEnc = static_cast<std::uint8_t>(seed ^ key);
    std::vector<std::uint8_t> out = {seed, versionEnc, keyEnc};
    Chain chain(versionEnc, keyEnc, key);
    const std::size_t fillerCount = (seed & 6) / 2;
    for (std::size_t i = 0; i < fillerCount; ++i) out.push_back(chain.hide(noise.filler[i]));
    const auto length = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) out.push_back(chain.hide(static_cast<std::uint8_t>(length >> (8 * i))));
    for (std::uint8_t b : data) out.push_back(chain.hide(b));

    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(out.size() * 2);
    for (std::uint8_t b : out) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 15]);
    }
    return text;
}

std::string obfuscate(std::span<const std::uint8_t> data, std::string_view projectId) {
    std::array<std::uint8_t, 4> random{};
    crypto::randomBytes(random.data(), random.size());
    return obfuscate(data, projectId, {random[0], {random[1], random[2], random[3]}});
}

std::vector<std::uint8_t> deobfuscate(std::string_view hexText) {
    if (hexText.size() % 2 != 0) damaged("a protection field has an odd number of digits");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(hexText.size() / 2);
    for (std::size_t i = 0; i < hexText.size(); i += 2) {
        const int hi = hexValue(hexText[i]), lo = hexValue(hexText[i + 1]);
        if (hi < 0 || lo < 0) damaged("a protection field is not hexadecimal");
        bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    if (bytes.size() < 7) damaged("a protection field is too short");
    const std::uint8_t seed = bytes[0];
    if ((bytes[1] ^ seed) != kVersion) damaged("a protection field has an unknown version");
    const auto key = static_cast<std::uint8_t>(bytes[2] ^ seed);
    Chain chain(bytes[1], bytes[2], key);
    std::size_t pos = 3;
    const std::size_t fillerCount = (seed & 6) / 2;
    if (bytes.size() < pos + fillerCount + 4) damaged("a protection field is too short");
    for (std::size_t i = 0; i < fillerCount; ++i) chain.reveal(bytes[pos++]);
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= std::uint32_t(chain.reveal(bytes[pos++])) << (8 * i);
    if (length != bytes.size() - pos) damaged("a protection field's length does not match its data");
    std::vector<std::uint8_t> data;
    data.reserve(length);
    while (pos < bytes.size()) data.push_back(chain.reveal(bytes[pos++]));
    return data;
}

std::vector<std::uint8_t> passwordHashData(std::string_view passwordBytes, const std::array<std::uint8_t, 4>& key) {
    const auto hash = hashOf(passwordBytes, key);
    std::vector<std::uint8_t> data(4);  // the reserved byte, then the three bytes of flags
    data.reserve(kHashDataSize);
    data[0] = kHashReserved;
    encodeNulls(key, 0, data);
    encodeNulls(hash, kKeySize, data);
    data.push_back(0x00);
    return data;
}

bool hasPassword(std::span<const std::uint8_t> data) { return !(data.size() == 1 && data[0] == 0x00) && !data.empty(); }

bool passwordOpens(std::span<const std::uint8_t> data, std::string_view passwordBytes) {
    if (!hasPassword(data)) return passwordBytes.empty();
    if (data.size() == kHashDataSize && data[0] == kHashReserved && data.back() == 0x00) {
        const auto key = decodeNulls(data, 4, kKeySize, 0);
        const auto stored = decodeNulls(data, 4 + kKeySize, kHashSize, kKeySize);
        const auto hash = hashOf(passwordBytes, key);
        return std::equal(hash.begin(), hash.end(), stored.begin(), stored.end());
    }
    // The password as text, ending with its zero byte.
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    return std::string_view(reinterpret_cast<const char*>(data.data()), std::size_t(end - data.begin())) == passwordBytes;
}

}  // namespace office::vba
