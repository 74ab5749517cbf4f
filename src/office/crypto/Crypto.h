#pragma once
// Cryptographic primitives for the office engine (our own code, no OpenSSL):
// MD5, SHA-1, RC4, and the BIFF8 FILEPASS encryption schemes (MS-OFFCRYPTO).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace office::crypto {

std::array<std::uint8_t, 16> md5(std::span<const std::uint8_t> data);
std::array<std::uint8_t, 20> sha1(std::span<const std::uint8_t> data);

// The 64-byte block buffering and the final padding MD5 and SHA-1 share.
class Block64Buffer {
public:
    template <typename BlockFn>
    void update(std::span<const std::uint8_t> data, BlockFn&& block) {
        const std::uint8_t* p = data.data();
        std::size_t n = data.size();
        total_ += n;
        if (used_ > 0) {
            const std::size_t take = std::min(n, 64 - used_);
            std::memcpy(buf_.data() + used_, p, take);
            used_ += take;
            p += take;
            n -= take;
            if (used_ < 64) return;
            block(buf_.data());
            used_ = 0;
        }
        for (; n >= 64; p += 64, n -= 64) block(p);
        if (n > 0) std::memcpy(buf_.data(), p, n);
        used_ = n;
    }
    // 0x80, zeros, then the length in bits in 8 bytes of the given order.
    template <typename BlockFn>
    void finish(bool bigEndianLength, BlockFn&& block) {
        const std::uint64_t bits = total_ * 8;
        std::uint8_t pad[72] = {0x80};
        const std::size_t padLen = (used_ < 56) ? 56 - used_ : 120 - used_;
        for (int i = 0; i < 8; ++i)
            pad[padLen + i] = std::uint8_t(bits >> (8 * (bigEndianLength ? 7 - i : i)));
        update({pad, padLen + 8}, block);
    }

private:
    std::array<std::uint8_t, 64> buf_{};
    std::size_t used_ = 0;
    std::uint64_t total_ = 0;
};

// Incremental hashing, for callers that hash several pieces.
class Md5 {
public:
    Md5();
    void update(std::span<const std::uint8_t> data);
    std::array<std::uint8_t, 16> finish();  // the object is reset afterwards
private:
    void block(const std::uint8_t* p);
    std::array<std::uint32_t, 4> h_;
    Block64Buffer buffer_;
};

class Sha1 {
public:
    Sha1();
    void update(std::span<const std::uint8_t> data);
    std::array<std::uint8_t, 20> finish();  // the object is reset afterwards
private:
    void block(const std::uint8_t* p);
    std::array<std::uint32_t, 5> h_;
    Block64Buffer buffer_;
};

class Rc4 {
public:
    explicit Rc4(std::span<const std::uint8_t> key);  // key of 1..256 bytes
    void apply(std::uint8_t* data, std::size_t n);   // XOR with the keystream
    void skip(std::size_t n);                        // discard n keystream bytes
    // The first n keystream bytes of two keys at once, into outA and outB.
    // Each key's schedule and keystream is a chain of dependent steps; two
    // side by side keep the processor busy while each waits (about 1.6
    // times as fast here as one after the other).
    static void keystreams(std::span<const std::uint8_t> keyA, std::span<const std::uint8_t> keyB,
                           std::uint8_t* outA, std::uint8_t* outB, std::size_t n);
private:
    std::array<std::uint8_t, 256> s_;
    std::uint8_t i_ = 0, j_ = 0;
};

// UTF-8 to UTF-16LE bytes (no terminator). Invalid UTF-8 bytes become U+FFFD.
std::vector<std::uint8_t> utf16le(std::string_view utf8);

// The bytes of a stream each key of a BlockCipher serves.
inline constexpr std::size_t kCipherBlock = 1024;

// A cipher over a whole stream whose keystream is re-keyed at every 1024-byte
// block of the absolute stream offset. process(data, n, offset) en/decrypts n
// bytes sitting at absolute offset `offset`, for any offsets in any order
// (sequential use is fast: the current block's state is cached).
class BlockCipher {
public:
    virtual ~BlockCipher();
    virtual void process(std::uint8_t* data, std::size_t n, std::uint64_t offset) = 0;
    // The keystream itself of `blocks` whole blocks from block `first` on,
    // into `out` (what process would XOR with them).
    virtual void keystream(std::uint64_t first, std::size_t blocks, std::uint8_t* out);
};

// RC4 re-keyed per 1024-byte block; the block key comes from blockKey(block).
// Both the RC4 (1.1) and the RC4 CryptoAPI schemes of BIFF8 are this.
class Rc4BlockCipher : public BlockCipher {
public:
    void process(std::uint8_t* data, std::size_t n, std::uint64_t offset) override;
    void keystream(std::uint64_t first, std::size_t blocks, std::uint8_t* out) override;
protected:
    virtual std::vector<std::uint8_t> blockKey(std::uint32_t block) const = 0;
private:
    std::unique_ptr<Rc4> rc4_;
    std::uint64_t block_ = 0;
    std::uint64_t pos_ = 0;  // absolute offset the cached rc4_ is positioned at
};

// RC4 version 1.1 (MS-OFFCRYPTO 2.3.6) key derivation.
// Password: the UTF-8 password as UTF-16LE, at most 255 characters used.
// Returns T1 = the 5-byte truncated intermediate key of 2.3.6.2.
std::array<std::uint8_t, 5> rc4KeyBase(const std::string& password,
                                       std::span<const std::uint8_t, 16> salt);
// Block key = MD5(T1 ‖ u32le(block)), 16 bytes.
std::array<std::uint8_t, 16> rc4BlockKey(std::span<const std::uint8_t, 5> keyBase,
                                         std::uint32_t block);

// Parses a FILEPASS record body (after the 4-byte record header) and checks the
// password. Returns nullptr when the password is wrong; throws AutomationError
// for an unsupported or damaged FILEPASS. Supports RC4 (1.1) and RC4 CryptoAPI
// (2.2, 3.2, 4.2). XOR obfuscation (wEncryptionType 0) raises "unsupported encryption".
std::unique_ptr<BlockCipher> openFilePass(std::span<const std::uint8_t> filePassBody,
                                          const std::string& password);

// Makes a new RC4 (version 1.1) FILEPASS body for `password` with a random salt
// and verifier (54 bytes), and the matching cipher for writing.
struct NewFilePass {
    std::vector<std::uint8_t> body;
    std::unique_ptr<BlockCipher> cipher;
};
NewFilePass makeRc4FilePass(const std::string& password);

// The built-in password Excel uses when a workbook has a structure password but
// no open password.
inline constexpr const char* kDefaultPassword = "VelvetSweatshop";

// Cryptographically random bytes (from /dev/urandom, getrandom).
void randomBytes(std::uint8_t* out, std::size_t n);

}  // namespace office::crypto
