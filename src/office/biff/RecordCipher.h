#pragma once
// RC4 over a whole Workbook stream, record by record. The keystream position
// is the absolute stream offset, so record headers consume keystream without
// being changed; the bodies of a few records stay in clear, and so do the
// first 4 bytes (lbPlyPos) of BOUNDSHEET8. The same walk encrypts and decrypts.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "office/crypto/Crypto.h"

namespace office::biff {

// Applies `cipher` in place to the bodies of all records from `start` on.
// A last record cut short by the end of the stream is processed as far as it goes.
void applyRecordCipherInPlace(std::span<std::uint8_t> stream, std::size_t start, crypto::BlockCipher& cipher);

// The same on a copy of `source`.
std::vector<std::uint8_t> applyRecordCipher(std::span<const std::uint8_t> source, std::size_t start,
                                            crypto::BlockCipher& cipher);

// The same on the way out: a clear stream is encrypted a piece at a time as
// it is written, and stays clear, to be read again without decrypting.
class RecordEncrypter {
public:
    // `clear` (whose records are walked from `start` on) and `cipher` outlive this.
    RecordEncrypter(std::span<const std::uint8_t> clear, std::size_t start, crypto::BlockCipher& cipher);
    ~RecordEncrypter();
    // `piece` holds a copy of the clear bytes from `offset` on, which become
    // the encrypted ones. Pieces come in stream order.
    void apply(std::span<std::uint8_t> piece, std::size_t offset);

    class Keystream;

private:
    std::span<const std::uint8_t> clear_;
    std::size_t record_;  // where the record the next piece starts in begins, or later
    std::unique_ptr<Keystream> keys_;
};

}  // namespace office::biff
