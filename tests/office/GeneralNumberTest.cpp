// Whole numbers shown in the General format, which the store compares as
// text (line ids): the fast path must give what printf gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "automation/Variant.h"

namespace {

std::string printed(double number) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", number);
    return buffer;
}

TEST(GeneralNumber, WholeNumbersReadAsPrintfWritesThem) {
    const double numbers[] = {0.0, -0.0, 1, -1, 9, 10, 99, 100, 9999, 10000, 65535, 65536, 2147483647.0,
                              2147483648.0, -2147483649.0, 4294967296.0, 123456789012345.0, 999999999999999.0,
                              -999999999999999.0, std::ldexp(1.0, 49)};
    for (double number : numbers) EXPECT_EQ(automation::formatGeneralNumber(number), printed(number)) << number;
    // Past 15 digits and fractions take the other path.
    EXPECT_EQ(automation::formatGeneralNumber(1e15), "1E+15");
    EXPECT_EQ(automation::formatGeneralNumber(2.5), "2.5");
}

}  // namespace
