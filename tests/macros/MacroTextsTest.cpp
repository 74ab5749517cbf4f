// The four macro texts of a Presentation, which nothing here can run: our
// VBA lint finds nothing in them, and every procedure, variable, control
// name and quoted text they must hold is in the component it belongs to.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "macros/MacroTexts.h"
#include "macros/VbaLint.h"

namespace {

using vbalint::ComponentKind;
using vbalint::DeclarationKind;

std::vector<vbalint::Component> presentationComponents() {
    return {{"ThisWorkbook", ComponentKind::Document, macros::WorkbookEventText()},
            {"Module1", ComponentKind::Standard, macros::ModuleText()},
            {"Us_Menu", ComponentKind::Form, macros::MenuFormText()},
            {"Userform00", ComponentKind::Form, macros::BackdropText()}};
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

TEST(MacroTexts, LinesAreJoinedByCarriageReturnsInPlainAscii) {
    for (const auto& c : presentationComponents()) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.text.empty());
        EXPECT_EQ(c.text.find('\n'), std::string::npos);
        EXPECT_EQ(c.text.back(), '\r');
        EXPECT_TRUE(std::all_of(c.text.begin(), c.text.end(), [](char ch) {
            return (ch >= 0x20 && ch < 0x7F) || ch == '\r';
        })) << "only printable ASCII: the project's code page must hold every character, tabs excepted";
    }
}

TEST(MacroTexts, TheLintFindsNothing) {
    // Declarations are required although the texts do not say Option
    // Explicit, so that a misspelt name cannot silently be an empty variable.
    for (const auto& p : vbalint::lint(presentationComponents(), true))
        ADD_FAILURE() << p.component << " line " << p.line << ": " << p.message;
}

struct Expectation {
    std::string component, what, value;
    int line = 0;
};

std::vector<Expectation> expectations() {
    std::ifstream in(TAVOLEX_TEST_DATA "/../macros/expected_names.tsv");
    std::vector<Expectation> out;
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (line.empty() || line[0] == '#') continue;
        const auto a = line.find('\t'), b = line.find('\t', a + 1);
        out.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1), n});
    }
    return out;
}

// "Name(a, b)" of a procedure as the analysis sees it.
std::string signature(const vbalint::Analysis& a, const vbalint::Declaration& proc) {
    std::string s = proc.name + "(";
    bool first = true;
    for (const auto& d : a.declarations)
        if (d.kind == DeclarationKind::Parameter && d.procedure == proc.name && d.line == proc.line) {
            s += (first ? "" : ", ") + d.name;
            first = false;
        }
    return s + ")";
}

TEST(MacroTexts, EveryNameAndTextIsInItsComponent) {
    const auto components = presentationComponents();
    std::map<std::string, vbalint::Analysis> analyses;
    for (const auto& c : components) analyses[c.name] = vbalint::analyse(c);
    const auto all = expectations();
    ASSERT_GT(all.size(), 100u);

    std::map<std::pair<std::string, std::string>, int> lastPosition;  // per component and ordered kind
    for (const Expectation& e : all) {
        SCOPED_TRACE("expected_names.tsv line " + std::to_string(e.line) + ": " + e.component + " " + e.what + " '" + e.value + "'");
        ASSERT_TRUE(analyses.count(e.component));
        const vbalint::Analysis& a = analyses[e.component];
        const auto& decls = a.declarations;
        if (e.what == "first-line") {
            ASSERT_FALSE(a.lines.empty());
            EXPECT_EQ(a.lines.front(), e.value);
        } else if (e.what == "line") {
            EXPECT_TRUE(std::any_of(a.lines.begin(), a.lines.end(), [&](const std::string& l) { return trim(l) == e.value; }));
        } else if (e.what == "literal") {
            EXPECT_TRUE(std::count(a.stringLiterals.begin(), a.stringLiterals.end(), e.value) > 0);
        } else if (e.what == "uses") {
            EXPECT_TRUE(std::any_of(a.uses.begin(), a.uses.end(), [&](const auto& u) { return lower(u.name) == lower(e.value); }));
        } else if (e.what == "public" || e.what == "private" || e.what == "procedure") {
            const bool procedure = e.what == "procedure";
            const std::string name = procedure ? e.value.substr(0, e.value.find('(')) : e.value;
            const auto it = std::find_if(decls.begin(), decls.end(), [&](const vbalint::Declaration& d) {
                return d.moduleLevel && d.name == name && (d.kind == DeclarationKind::Procedure) == procedure;
            });
            ASSERT_NE(it, decls.end()) << "not declared at module level under this exact name";
            if (procedure) EXPECT_EQ(signature(a, *it), e.value);
            else EXPECT_EQ(it->isPublic, e.what == "public");
            // In the order listed.
            const int position = int(it - decls.begin());
            int& last = lastPosition[{e.component, procedure ? "procedure" : "variable"}];
            EXPECT_GT(position, last - 1) << "out of order";
            last = position + 1;
            // And declared in no other component.
            for (const auto& [other, oa] : analyses) {
                if (other == e.component) continue;
                const bool listedThere = std::any_of(all.begin(), all.end(), [&](const Expectation& x) {
                    return x.component == other && x.what == e.what && x.value == e.value;
                });
                if (listedThere) continue;
                EXPECT_TRUE(std::none_of(oa.declarations.begin(), oa.declarations.end(), [&](const vbalint::Declaration& d) {
                    return d.moduleLevel && lower(d.name) == lower(name);
                })) << "also declared in " << other;
            }
        } else {
            ADD_FAILURE() << "unknown kind of expectation";
        }
    }
}

}  // namespace
