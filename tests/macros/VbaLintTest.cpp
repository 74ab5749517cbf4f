// The lint itself: each fault it is meant to find, in a small text and in a
// damaged copy of the real macro texts, and what it must let pass.
#include <gtest/gtest.h>

#include "macros/MacroTexts.h"
#include "macros/VbaLint.h"

namespace {

using vbalint::Component;
using vbalint::ComponentKind;

std::string joined(const std::vector<vbalint::Problem>& problems) {
    std::string out;
    for (const auto& p : problems) out += p.component + ":" + std::to_string(p.line) + ": " + p.message + "\n";
    return out;
}

std::vector<vbalint::Problem> lintOne(const std::string& text, bool strict = true) {
    return vbalint::lint({{"Module1", ComponentKind::Standard, text}}, strict);
}

struct Case {
    const char* what;
    const char* text;
    const char* problem;  // part of the message expected; "" for a clean text
};

const Case kCases[] = {
    {"a clean procedure", "Sub A()\r  Dim i As Long\r  For i = 1 To 3\r    If i = 2 Then Exit For\r  Next i\rEnd Sub\r", ""},
    {"Sub never closed", "Sub A()\r  MsgBox \"x\"\r", "'sub' is never closed"},
    {"End Function closes a Sub", "Sub A()\rEnd Function\r", "'End function' without 'function'"},
    {"block If not closed", "Sub A()\r  If 1 = 1 Then\r    MsgBox \"x\"\rEnd Sub\r", "closes 'if'"},
    {"one-line If needs no End If", "Sub A()\r  If 1 = 1 Then MsgBox \"a\" Else MsgBox \"b\"\rEnd Sub\r", ""},
    {"one-line If with a colon", "Sub A()\r  If 1 = 1 Then MsgBox \"a\": MsgBox \"b\"\rEnd Sub\r", ""},
    {"End If without If", "Sub A()\r  End If\rEnd Sub\r", "'End if' without 'if'"},
    {"Else outside If", "Sub A()\r  Else\rEnd Sub\r", "outside a block If"},
    {"With not closed", "Sub A()\r  With Application\rEnd Sub\r", "closes 'with'"},
    {"Next of another variable", "Sub A()\r  Dim i, j\r  For i = 1 To 2\r  Next j\rEnd Sub\r", "'Next j' closes 'For i'"},
    {"Loop without Do", "Sub A()\r  Loop\rEnd Sub\r", "'Loop' without 'do'"},
    {"While without Wend", "Sub A()\r  While True\rEnd Sub\r", "closes 'while'"},
    {"Case outside Select", "Sub A()\r  Case 1\rEnd Sub\r", "outside 'Select Case'"},
    {"Select closed", "Sub A()\r  Select Case 1\r  Case 1\r  End Select\rEnd Sub\r", ""},
    {"string not closed", "Sub A()\r  MsgBox \"open\rEnd Sub\r", "string literal is not closed"},
    {"doubled quotes stay inside", "Sub A()\r  MsgBox \"say \"\"hi\"\"\"\rEnd Sub\r", ""},
    {"continuation joins lines", "Sub A()\r  MsgBox \"a\" & _\r    \"b\"\rEnd Sub\r", ""},
    {"continuation at the end", "Sub A()\rEnd Sub\rMsgBox _\r", "ends with a line continuation"},
    {"Exit For outside For", "Sub A()\r  Exit For\rEnd Sub\r", "outside a for loop"},
    {"Exit Function in a Sub", "Sub A()\r  Exit Function\rEnd Sub\r", "outside a function"},
    {"GoTo a missing label", "Sub A()\r  On Error GoTo Oops\rEnd Sub\r", "no such label"},
    {"GoTo a label of the same procedure", "Sub A()\r  On Error GoTo Oops\r  Exit Sub\rOops:\r  MsgBox Err.Number\rEnd Sub\r", ""},
    {"statement outside procedures", "MsgBox \"x\"\r", "outside any procedure"},
    {"#If not closed", "#If VBA7 Then\rPublic x As Long\r", "'#if' is never closed"},
    {"undeclared name", "Sub A()\r  total = 1\rEnd Sub\r", "total is not declared"},
    {"a constant Excel does not have", "Sub A()\r  ActiveSheet.Visible = xlVeryHidden\rEnd Sub\r", "xlVeryHidden is not declared"},
    {"members and named arguments are not names", "Sub A()\r  ThisWorkbook.Close SaveChanges:=False\rEnd Sub\r", ""},
};

TEST(VbaLint, FindsEachFaultAndOnlyThose) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string found = joined(lintOne(c.text));
        if (*c.problem == 0) EXPECT_EQ(found, "");
        else EXPECT_NE(found.find(c.problem), std::string::npos) << found;
    }
}

TEST(VbaLint, OptionExplicitTurnsDeclarationsOnWithoutBeingAsked) {
    EXPECT_EQ(joined(lintOne("Sub A()\r  total = 1\rEnd Sub\r", false)), "");
    EXPECT_NE(joined(lintOne("Option Explicit\rSub A()\r  total = 1\rEnd Sub\r", false)).find("total is not declared"),
              std::string::npos);
}

TEST(VbaLint, NamesUsedAcrossComponentsMustBePublicInAStandardModule) {
    const std::vector<Component> components = {
        {"Module1", ComponentKind::Standard, "Public Shared As Long\rDim Hidden As Long\rPrivate Sub Helper()\rEnd Sub\rSub Open1()\rEnd Sub\r"},
        {"Form1", ComponentKind::Form, "Dim FormVar\rPrivate Sub UserForm_Click()\r  Shared = 1\r  Open1\r  Hidden = 2\r  Helper\rEnd Sub\r"},
        {"ThisWorkbook", ComponentKind::Document, "Sub B()\r  FormVar = 1\r  Form1.Show\rEnd Sub\r"},
    };
    const std::string found = joined(vbalint::lint(components, true));
    EXPECT_EQ(found.find("Shared"), std::string::npos) << found;
    EXPECT_EQ(found.find("Open1"), std::string::npos) << found;
    EXPECT_NE(found.find("Form1:5: Hidden is declared in Module1 but not Public"), std::string::npos) << found;
    EXPECT_NE(found.find("Form1:6: Helper is declared in Module1 but not Public"), std::string::npos) << found;
    EXPECT_NE(found.find("ThisWorkbook:2: FormVar is declared in Form1 but not Public"), std::string::npos) << found;
    EXPECT_EQ(found.find("Form1.Show"), std::string::npos) << found;
}

// The real texts, each damaged in one place, are caught.
TEST(VbaLint, CatchesDamageInTheRealTexts) {
    struct Damage {
        const char* what;
        std::string from, to;
        const char* problem;
    };
    const Damage damages[] = {
        {"a misspelt public variable", "pw_cust = Trim(Mid(impo", "pw_cus = Trim(Mid(impo", "pw_cus is not declared"},
        {"a dropped End If", "        Exit Sub\r    End If\r    If tipo", "        Exit Sub\r    If tipo", "closes 'if'"},
        {"a constant Excel does not have", "sh.Visible = xlSheetVeryHidden", "sh.Visible = xlVeryHidden", "xlVeryHidden is not declared"},
        {"an unclosed literal", "\"Printer error: \"", "\"Printer error: ", "not closed"},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        std::string text = macros::ModuleText();
        const auto at = text.find(d.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, d.from.size(), d.to);
        EXPECT_NE(joined(lintOne(text)).find(d.problem), std::string::npos) << joined(lintOne(text));
    }
}

}  // namespace
