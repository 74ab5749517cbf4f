// RC4, UTF-16 conversion, random bytes, the per-1024-byte re-keyed cipher.
#include "office/crypto/Crypto.h"
#include "text/Utf.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <utility>

namespace office::crypto {

namespace {
// The key repeated to 256 bytes: no division in the key schedule.
void repeatKey(std::span<const std::uint8_t> key, std::uint8_t (&repeated)[256]) {
    if (key.empty() || key.size() > 256) throw std::invalid_argument("RC4 key must be 1..256 bytes");
    for (std::size_t k = 0; k < 256; k += key.size())
        std::copy_n(key.data(), std::min<std::size_t>(key.size(), 256 - k), repeated + k);
}
}  // namespace

Rc4::Rc4(std::span<const std::uint8_t> key) {
    std::uint8_t repeated[256];
    repeatKey(key, repeated);
    std::uint8_t s[256];
    for (int k = 0; k < 256; ++k) s[k] = std::uint8_t(k);
    std::uint8_t j = 0;
    for (int k = 0; k < 256; ++k) {
        const std::uint8_t sk = s[k];
        j = std::uint8_t(j + sk + repeated[k]);
        s[k] = s[j];
        s[j] = sk;
    }
    std::copy(s, s + 256, s_.begin());
}

// The state is worked on in a local copy: the output pointer may alias any
// byte, so working on the member would reload it after every write. Eight
// bytes a round: a workbook is megabytes of keystream, and the unrolled
// rounds leave the loop's own counting out of most bytes (about an eighth
// faster here).
void Rc4::apply(std::uint8_t* data, std::size_t n) {
    std::uint8_t s[256];
    std::copy(s_.begin(), s_.end(), s);
    unsigned i = i_, j = j_;
    auto step = [&](std::uint8_t& out, unsigned next) {
        const unsigned si = s[next];
        j = (j + si) & 0xFF;
        const unsigned sj = s[j];
        s[next] = std::uint8_t(sj);
        s[j] = std::uint8_t(si);
        out ^= s[(si + sj) & 0xFF];
    };
    std::size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        step(data[k], (i + 1) & 0xFF);
        step(data[k + 1], (i + 2) & 0xFF);
        step(data[k + 2], (i + 3) & 0xFF);
        step(data[k + 3], (i + 4) & 0xFF);
        step(data[k + 4], (i + 5) & 0xFF);
        step(data[k + 5], (i + 6) & 0xFF);
        step(data[k + 6], (i + 7) & 0xFF);
        step(data[k + 7], (i + 8) & 0xFF);
        i = (i + 8) & 0xFF;
    }
    for (; k < n; ++k) {
        i = (i + 1) & 0xFF;
        step(data[k], i);
    }
    std::copy(s, s + 256, s_.begin());
    i_ = std::uint8_t(i);
    j_ = std::uint8_t(j);
}

void Rc4::skip(std::size_t n) {
    std::uint8_t s[256];
    std::copy(s_.begin(), s_.end(), s);
    std::uint8_t i = i_, j = j_;
    for (std::size_t k = 0; k < n; ++k) {
        i = std::uint8_t(i + 1);
        const std::uint8_t si = s[i];
        j = std::uint8_t(j + si);
        s[i] = s[j];
        s[j] = si;
    }
    std::copy(s, s + 256, s_.begin());
    i_ = i;
    j_ = j;
}

void Rc4::keystreams(std::span<const std::uint8_t> keyA, std::span<const std::uint8_t> keyB, std::uint8_t* outA,
                     std::uint8_t* outB, std::size_t n) {
    std::uint8_t keyBytesA[256], keyBytesB[256];
    repeatKey(keyA, keyBytesA);
    repeatKey(keyB, keyBytesB);
    std::uint8_t a[256], b[256];
    for (int k = 0; k < 256; ++k) a[k] = b[k] = std::uint8_t(k);
    unsigned ja = 0, jb = 0;
    for (int k = 0; k < 256; ++k) {
        const std::uint8_t sa = a[k], sb = b[k];
        ja = (ja + sa + keyBytesA[k]) & 0xFF;
        jb = (jb + sb + keyBytesB[k]) & 0xFF;
        a[k] = a[ja];
        b[k] = b[jb];
        a[ja] = sa;
        b[jb] = sb;
    }
    unsigned i = 0;
    ja = jb = 0;
    for (std::size_t k = 0; k < n; ++k) {
        i = (i + 1) & 0xFF;
        const unsigned sa = a[i], sb = b[i];
        ja = (ja + sa) & 0xFF;
        jb = (jb + sb) & 0xFF;
        const unsigned ta = a[ja], tb = b[jb];
        a[i] = std::uint8_t(ta);
        b[i] = std::uint8_t(tb);
        a[ja] = std::uint8_t(sa);
        b[jb] = std::uint8_t(sb);
        outA[k] = a[(sa + ta) & 0xFF];
        outB[k] = b[(sb + tb) & 0xFF];
    }
}

std::vector<std::uint8_t> utf16le(std::string_view s) {
    const std::u16string units = text::utf8ToUtf16(s);
    std::vector<std::uint8_t> out;
    out.reserve(units.size() * 2);
    for (char16_t unit : units) {
        out.push_back(std::uint8_t(unit));
        out.push_back(std::uint8_t(unit >> 8));
    }
    return out;
}

void randomBytes(std::uint8_t* out, std::size_t n) {
    while (n > 0) {
        ssize_t got = ::getrandom(out, n, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error("no random source");
        }
        out += got;
        n -= std::size_t(got);
    }
}

BlockCipher::~BlockCipher() = default;

void BlockCipher::keystream(std::uint64_t first, std::size_t blocks, std::uint8_t* out) {
    std::fill_n(out, blocks * kCipherBlock, std::uint8_t{0});  // XOR with zeros leaves the keystream
    process(out, blocks * kCipherBlock, first * kCipherBlock);
}

void Rc4BlockCipher::keystream(std::uint64_t first, std::size_t blocks, std::uint8_t* out) {
    std::size_t done = 0;
    for (; done + 2 <= blocks; done += 2) {
        const std::vector<std::uint8_t> keyA = blockKey(std::uint32_t(first + done));
        const std::vector<std::uint8_t> keyB = blockKey(std::uint32_t(first + done + 1));
        Rc4::keystreams(keyA, keyB, out + done * kCipherBlock, out + (done + 1) * kCipherBlock, kCipherBlock);
    }
    if (done < blocks) BlockCipher::keystream(first + done, blocks - done, out + done * kCipherBlock);
}

void Rc4BlockCipher::process(std::uint8_t* data, std::size_t n, std::uint64_t offset) {
    constexpr std::uint64_t kBlock = kCipherBlock;
    while (n > 0) {
        const std::uint64_t block = offset / kBlock;
        if (!rc4_ || block != block_ || pos_ > offset) {
            const auto key = blockKey(std::uint32_t(block));
            rc4_ = std::make_unique<Rc4>(key);
            block_ = block;
            pos_ = block * kBlock;
        }
        rc4_->skip(std::size_t(offset - pos_));
        const std::size_t take = std::size_t(std::min<std::uint64_t>(n, (block + 1) * kBlock - offset));
        rc4_->apply(data, take);
        data += take;
        n -= take;
        offset += take;
        pos_ = offset;
    }
}

}  // namespace office::crypto
