// Reading the command-line argument into data folder and language code.
#include <gtest/gtest.h>

#include "startup/Startup.h"

namespace {

using startup::ParseArgument;

struct Parsed {
    bool firstRun;
    std::string folder;
    std::string code;
    bool operator==(const Parsed&) const = default;
};

Parsed Parse(const std::string& argument) {
    startup::StartArgument parsed = ParseArgument(argument);
    return {parsed.firstRun, parsed.folder, parsed.languageCode};
}

void PrintTo(const Parsed& p, std::ostream* out) {
    *out << (p.firstRun ? "first run" : "folder") << " \"" << p.folder << "\" code \"" << p.code << "\"";
}

TEST(StartArgument, NoFolderMeansTheFirstRunInEnglish) {
    for (const char* argument : {"", " ", "   \t ", "|I", " | e ", "|", "  |i  "})
        EXPECT_EQ(Parse(argument), (Parsed{true, "", "E"})) << "argument \"" << argument << "\"";
}

TEST(StartArgument, FolderEndsWithOneSeparatorWhetherWrittenOrNot) {
    EXPECT_EQ(Parse("/home/anna/data"), (Parsed{false, "/home/anna/data/", "E"}));
    EXPECT_EQ(Parse("/home/anna/data/"), (Parsed{false, "/home/anna/data/", "E"}));
    EXPECT_EQ(Parse("/"), (Parsed{false, "/", "E"}));
}

TEST(StartArgument, LanguageCodeIsTrimmedAndUpperCased) {
    EXPECT_EQ(Parse("/data|i"), (Parsed{false, "/data/", "I"}));
    EXPECT_EQ(Parse("/data|E"), Parse("/data"));
    EXPECT_EQ(Parse("  /home/anna/Präsentation 2026  |  i  "), (Parsed{false, "/home/anna/Präsentation 2026/", "I"}));
    EXPECT_EQ(Parse("/data|x"), (Parsed{false, "/data/", "X"}));
    EXPECT_EQ(Parse("/data|it"), (Parsed{false, "/data/", "IT"}));
    EXPECT_EQ(Parse("/data|"), (Parsed{false, "/data/", ""}));
}

TEST(StartArgument, OnlyTheLastBarSeparates) {
    EXPECT_EQ(Parse("/data|a|I"), (Parsed{false, "/data|a/", "I"}));
    EXPECT_EQ(Parse("/data|a |"), (Parsed{false, "/data|a/", ""}));
}

TEST(StartArgument, SpacesInsideTheFolderAndQuotesStay) {
    EXPECT_EQ(Parse("/home/anna/My  Data"), (Parsed{false, "/home/anna/My  Data/", "E"}));
    EXPECT_EQ(Parse("\"/home/anna/data\""), (Parsed{false, "\"/home/anna/data\"/", "E"}));
}

TEST(StartArgument, JoinArgumentsRebuildsAFolderTheShellSplit) {
    char program[] = "Tavolex", first[] = "/home/anna/Präsentation", second[] = "2026|I";
    char* argv[] = {program, first, second, nullptr};
    EXPECT_EQ(startup::JoinArguments(3, argv), "/home/anna/Präsentation 2026|I");
    EXPECT_EQ(startup::JoinArguments(1, argv), "");
    EXPECT_EQ(startup::JoinArguments(0, nullptr), "");
}

}  // namespace
