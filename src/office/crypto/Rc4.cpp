// RC4, UTF-16 conversion, random bytes, the per-1024-byte re-keyed cipher.
#include "office/crypto/Crypto.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <utility>

namespace office::crypto {

Rc4::Rc4(std::span<const std::uint8_t> key) {
    if (key.empty() || key.size() > 256) throw std::invalid_argument("RC4 key must be 1..256 bytes");
    for (int k = 0; k < 256; ++k) s_[k] = std::uint8_t(k);
    std::uint8_t j = 0;
    const std::size_t len = key.size();
    for (std::size_t k = 0; k < 256; ++k) {
        j = std::uint8_t(j + s_[k] + key[k % len]);
        std::swap(s_[k], s_[j]);
    }
}

// The state is worked on in a local copy: the output pointer may alias any
// byte, so working on the member would reload it after every write.
void Rc4::apply(std::uint8_t* data, std::size_t n) {
    std::uint8_t s[256];
    std::copy(s_.begin(), s_.end(), s);
    std::uint8_t i = i_, j = j_;
    for (std::size_t k = 0; k < n; ++k) {
        i = std::uint8_t(i + 1);
        const std::uint8_t si = s[i];
        j = std::uint8_t(j + si);
        const std::uint8_t sj = s[j];
        s[i] = sj;
        s[j] = si;
        data[k] ^= s[std::uint8_t(si + sj)];
    }
    std::copy(s, s + 256, s_.begin());
    i_ = i;
    j_ = j;
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

std::vector<std::uint8_t> utf16le(std::string_view s) {
    std::vector<std::uint8_t> out;
    out.reserve(s.size() * 2);
    auto put = [&out](std::uint32_t u) {
        out.push_back(std::uint8_t(u));
        out.push_back(std::uint8_t(u >> 8));
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = std::uint8_t(s[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t len = 1;
        auto cont = [&](std::size_t k) {
            return i + k < s.size() && (std::uint8_t(s[i + k]) & 0xC0) == 0x80;
        };
        auto cb = [&](std::size_t k) { return std::uint32_t(std::uint8_t(s[i + k]) & 0x3F); };
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
            cp = (std::uint32_t(b0 & 0x1F) << 6) | cb(1);
            len = 2;
        } else if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
            std::uint32_t v = (std::uint32_t(b0 & 0x0F) << 12) | (cb(1) << 6) | cb(2);
            if (v >= 0x800 && (v < 0xD800 || v > 0xDFFF)) {
                cp = v;
                len = 3;
            }
        } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
            std::uint32_t v =
                (std::uint32_t(b0 & 0x07) << 18) | (cb(1) << 12) | (cb(2) << 6) | cb(3);
            if (v >= 0x10000 && v <= 0x10FFFF) {
                cp = v;
                len = 4;
            }
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 | (cp >> 10));
            put(0xDC00 | (cp & 0x3FF));
        } else {
            put(cp);
        }
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

void Rc4BlockCipher::process(std::uint8_t* data, std::size_t n, std::uint64_t offset) {
    constexpr std::uint64_t kBlock = 1024;
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
