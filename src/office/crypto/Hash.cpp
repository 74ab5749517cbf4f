// MD5 (RFC 1321) and SHA-1 (FIPS 180-4).
#include "office/crypto/Crypto.h"

#include <cstring>

namespace office::crypto {
namespace {

inline std::uint32_t rotl(std::uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

inline std::uint32_t loadLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint32_t loadBe32(const std::uint8_t* p) {
    return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 |
           std::uint32_t(p[0]) << 24;
}

constexpr std::uint32_t kMd5K[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
constexpr int kMd5R[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                           5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                           4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                           6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

}  // namespace

Md5::Md5() : h_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

// Four rounds of sixteen steps, each round its own loop: unrolled, every
// step's message word, constant and rotation are fixed. A workbook's RC4
// takes a new key, and so one MD5, for every 1,024 bytes.
void Md5::block(const std::uint8_t* p) {
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i) m[i] = loadLe32(p + 4 * i);
    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3];
    auto step = [&](std::uint32_t f, int i, int g) {
        const std::uint32_t t = d;
        d = c;
        c = b;
        b = b + rotl(a + f + kMd5K[i] + m[g], kMd5R[i]);
        a = t;
    };
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i) step((b & c) | (~b & d), i, i);
#pragma GCC unroll 16
    for (int i = 16; i < 32; ++i) step((d & b) | (~d & c), i, (5 * i + 1) & 15);
#pragma GCC unroll 16
    for (int i = 32; i < 48; ++i) step(b ^ c ^ d, i, (3 * i + 5) & 15);
#pragma GCC unroll 16
    for (int i = 48; i < 64; ++i) step(c ^ (b | ~d), i, (7 * i) & 15);
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
}

void Md5::update(std::span<const std::uint8_t> data) {
    buffer_.update(data, [this](const std::uint8_t* p) { block(p); });
}

std::array<std::uint8_t, 16> Md5::finish() {
    buffer_.finish(false, [this](const std::uint8_t* p) { block(p); });
    std::array<std::uint8_t, 16> out;
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k) out[4 * i + k] = std::uint8_t(h_[i] >> (8 * k));
    *this = Md5();
    return out;
}

Sha1::Sha1() : h_{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0} {}

void Sha1::block(const std::uint8_t* p) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) w[i] = loadBe32(p + 4 * i);
    for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        std::uint32_t t = rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotl(b, 30);
        b = a;
        a = t;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
}

void Sha1::update(std::span<const std::uint8_t> data) {
    buffer_.update(data, [this](const std::uint8_t* p) { block(p); });
}

std::array<std::uint8_t, 20> Sha1::finish() {
    buffer_.finish(true, [this](const std::uint8_t* p) { block(p); });
    std::array<std::uint8_t, 20> out;
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k < 4; ++k) out[4 * i + k] = std::uint8_t(h_[i] >> (8 * (3 - k)));
    *this = Sha1();
    return out;
}

std::array<std::uint8_t, 16> md5(std::span<const std::uint8_t> data) {
    Md5 h;
    h.update(data);
    return h.finish();
}

std::array<std::uint8_t, 20> sha1(std::span<const std::uint8_t> data) {
    Sha1 h;
    h.update(data);
    return h.finish();
}

}  // namespace office::crypto
