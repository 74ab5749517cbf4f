#pragma once
// Helpers shared by the compound-file reader and writer (not a public interface).
#include <cstdint>
#include <string>
#include <string_view>

namespace office::cfb::detail {

constexpr std::uint32_t kMaxRegSect = 0xFFFFFFFA;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kMiniCutoff = 4096;
constexpr std::size_t kMaxDepth = 256;  // storages nested deeper are refused

char16_t upper(char16_t c);
int compareUtf16(std::u16string_view a, std::u16string_view b);

}  // namespace office::cfb::detail
