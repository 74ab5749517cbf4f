#pragma once
// RK numbers: a 32-bit packed form of a number. Bit 0 = the value was
// multiplied by 100, bit 1 = the upper 30 bits are a signed integer, else they
// are the upper 30 bits of an IEEE double.
#include <cstdint>
#include <optional>

namespace office::biff {

double decodeRk(std::uint32_t rk);
// The RK form of `value` when it represents it exactly (bit for bit), else nullopt.
std::optional<std::uint32_t> encodeRk(double value);

}  // namespace office::biff
