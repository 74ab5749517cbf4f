#include "office/biff/Rk.h"

#include <cmath>
#include <cstring>

namespace office::biff {
namespace {

std::uint64_t bitsOf(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool sameBits(double a, double b) { return bitsOf(a) == bitsOf(b); }

constexpr double kRkIntMin = -(1 << 29);
constexpr double kRkIntMax = (1 << 29) - 1;

std::optional<std::uint32_t> asInteger(double v, std::uint32_t divideFlag) {
    if (!(v >= kRkIntMin && v <= kRkIntMax) || v != std::floor(v)) return std::nullopt;
    auto i = static_cast<std::int32_t>(v);
    return (static_cast<std::uint32_t>(i) << 2) | 0x2u | divideFlag;
}

std::optional<std::uint32_t> asDoubleTop(double v, std::uint32_t divideFlag) {
    std::uint64_t b = bitsOf(v);
    if ((b & 0x3FFFFFFFFull) != 0) return std::nullopt;
    return static_cast<std::uint32_t>(b >> 32) | divideFlag;
}

}  // namespace

double decodeRk(std::uint32_t rk) {
    double v;
    if (rk & 0x2) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        std::uint64_t b = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &b, sizeof v);
    }
    if (rk & 0x1) v /= 100;
    return v;
}

std::optional<std::uint32_t> encodeRk(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    auto check = [&](std::optional<std::uint32_t> rk) -> std::optional<std::uint32_t> {
        if (rk && sameBits(decodeRk(*rk), value)) return rk;
        return std::nullopt;
    };
    if (auto rk = check(asDoubleTop(value, 0))) return rk;  // a bit test: cheapest first
    if (auto rk = check(asInteger(value, 0))) return rk;
    double hundred = value * 100;
    if (auto rk = check(asInteger(std::round(hundred), 1))) return rk;
    if (auto rk = check(asDoubleTop(hundred, 1))) return rk;
    return std::nullopt;
}

}  // namespace office::biff
