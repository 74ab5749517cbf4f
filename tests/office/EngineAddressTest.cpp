// Addresses and protection hashes used by the engine.
#include <gtest/gtest.h>

#include "office/engine/CellAddress.h"
#include "office/engine/PasswordHash.h"

using namespace office::engine;

namespace {

std::string roundTrip(const std::string& address, bool loneColumn = false) {
    auto bounds = parseAddress(address, loneColumn);
    return bounds ? formatAddress(*bounds) : "invalid";
}

}  // namespace

TEST(EngineAddress, ParsesTheFormsTheProgramUsesAndWritesThemAsExcelDoes) {
    EXPECT_EQ(roundTrip("A1"), "$A$1");
    EXPECT_EQ(roundTrip("$A$1"), "$A$1");
    EXPECT_EQ(roundTrip("a5"), "$A$5");
    EXPECT_EQ(roundTrip("A1:K1"), "$A$1:$K$1");
    EXPECT_EQ(roundTrip("K1:A1"), "$A$1:$K$1");
    EXPECT_EQ(roundTrip("A:A"), "$A:$A");
    EXPECT_EQ(roundTrip("K:K"), "$K:$K");
    EXPECT_EQ(roundTrip("A:Z"), "$A:$Z");
    EXPECT_EQ(roundTrip("A:AZ"), "$A:$AZ");
    EXPECT_EQ(roundTrip("3:3"), "$3:$3");
    EXPECT_EQ(roundTrip("$2:$4"), "$2:$4");
    EXPECT_EQ(roundTrip("IV65536"), "$IV$65536");
    // A block over every row is whole columns, over every column whole rows.
    EXPECT_EQ(roundTrip("B1:C65536"), "$B:$C");
    EXPECT_EQ(roundTrip("A7:IV7"), "$7:$7");
}

TEST(EngineAddress, RejectsAddressesOffTheGridOrMalformed) {
    for (const char* bad : {"", "A0", "IW1", "A65537", "5", "A", "A1:", ":A1", "A1:B", "1A", "A$", "$$A1", "A1 B2",
                            "A:1", "AAA1", "A-1"})
        EXPECT_EQ(roundTrip(bad), "invalid") << bad;
    EXPECT_EQ(roundTrip("K", true), "$K:$K");
    EXPECT_EQ(roundTrip("K1", true), "$K$1");
}

TEST(EngineAddress, ColumnLettersRunToIV) {
    EXPECT_EQ(columnLetters(1), "A");
    EXPECT_EQ(columnLetters(26), "Z");
    EXPECT_EQ(columnLetters(27), "AA");
    EXPECT_EQ(columnLetters(52), "AZ");
    EXPECT_EQ(columnLetters(256), "IV");
}

TEST(EngineProtectionHash, MatchesTheKnownVerifierValues) {
    EXPECT_EQ(protectionPasswordHash(""), 0);
    EXPECT_EQ(protectionPasswordHash("abcdefghij"), 0xFEF1);
    EXPECT_NE(protectionPasswordHash("bookpw"), protectionPasswordHash("Bookpw"));
}
