#pragma once
// The compression of VBA project streams (MS-OVBA 2.4.1): a signature byte
// 0x01, then chunks that each hold up to 4096 bytes of the original, as a
// two-byte header and either flag bytes with literal and copy tokens or the
// 4096 bytes as they are.
#include <cstdint>
#include <span>
#include <vector>

namespace office::vba {

// Compresses as the format's own algorithm does (longest match, nearest first
// among equals), so the published examples come out byte for byte.
std::vector<std::uint8_t> compress(std::span<const std::uint8_t> data);

// Decompresses a whole container. Anything that is not a valid container (no
// signature, a chunk header with the wrong signature bits, a copy token that
// reaches before its chunk or past 4096 bytes) raises AutomationError 1004
// with the offset in `container`.
std::vector<std::uint8_t> decompress(std::span<const std::uint8_t> container);

}  // namespace office::vba
