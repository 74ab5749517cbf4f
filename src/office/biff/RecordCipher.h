#pragma once
// RC4 over a whole Workbook stream, record by record. The keystream position
// is the absolute stream offset, so record headers consume keystream without
// being changed; the bodies of a few records stay in clear, and so do the
// first 4 bytes (lbPlyPos) of BOUNDSHEET8. The same walk encrypts and decrypts.
#include <cstdint>
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

}  // namespace office::biff
