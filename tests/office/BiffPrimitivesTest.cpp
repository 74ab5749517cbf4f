// RK numbers: the compact number form of BIFF cells.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "office/biff/Rk.h"

namespace {

using office::biff::decodeRk;
using office::biff::encodeRk;

TEST(BiffRk, DecodesAllFourForms) {
    EXPECT_EQ(decodeRk(0x3FF00000), 1.0);                  // top of a double
    EXPECT_EQ(decodeRk(0x3FF00001), 0.01);                 // the same, divided by 100
    EXPECT_EQ(decodeRk((123u << 2) | 2), 123.0);           // integer
    EXPECT_EQ(decodeRk((12345u << 2) | 3), 123.45);        // integer / 100
    EXPECT_EQ(decodeRk(0xFFFFFFFE), -1.0);                 // negative integer
    EXPECT_EQ(decodeRk(0x80000002), -536870912.0);         // smallest integer
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(BiffRk, EncodesOnlyWhatComesBackExactly) {
    const double exact[] = {0, -0.0, 1, -1, 536870911, -536870912, 0.5, 123.45, -0.01, 1073741824.0, 0.25, 1024.5, 5150};
    for (double v : exact) {
        auto rk = encodeRk(v);
        ASSERT_TRUE(rk) << v;
        EXPECT_TRUE(sameBits(decodeRk(*rk), v)) << v;
    }
    const double inexact[] = {0.1 + 0.2, 1.0 / 3, M_PI, 1e300, 5e-324, 123456789.123, INFINITY, NAN};
    for (double v : inexact) EXPECT_FALSE(encodeRk(v)) << v;
    // Integers just outside 30 bits still go as the top of a double when they can.
    EXPECT_TRUE(encodeRk(536870912.0));
    EXPECT_FALSE(encodeRk(536870913.0));

    std::mt19937_64 rng(3);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (i % 2) v = static_cast<double>(static_cast<std::int64_t>(rng() % 2000000) - 1000000) / 100;
        if (auto rk = encodeRk(v)) {
            EXPECT_TRUE(sameBits(decodeRk(*rk), v)) << v;
        }
    }
}

}  // namespace
