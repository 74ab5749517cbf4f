#include "macros/VbaLint.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace vbalint {
namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Words of the language itself: never names to declare.
const std::set<std::string> kKeywords = {
    "alias", "and", "any", "as", "base", "binary", "boolean", "byref", "byte", "byval", "call", "case", "compare",
    "const", "currency", "date", "decimal", "declare", "dim", "do", "double", "each", "else", "elseif", "empty",
    "end", "enum", "eqv", "erase", "error", "exit", "explicit", "false", "for", "friend", "function", "get",
    "global", "gosub", "goto", "if", "imp", "in", "integer", "is", "let", "lib", "like", "load", "long",
    "longlong", "longptr", "loop", "me", "mod", "new", "next", "not", "nothing", "null", "object", "on", "option",
    "optional", "or", "paramarray", "preserve", "private", "property", "ptrsafe", "public", "redim", "rem",
    "resume", "return", "select", "set", "single", "static", "step", "stop", "string", "sub", "text", "then",
    "to", "true", "type", "unload", "until", "variant", "wend", "while", "with", "withevents", "xor"};

// Names the VBA, Excel and Forms libraries give every project; only those
// known to exist, so that a misspelt constant is caught.
const std::set<std::string> kBuiltIns = {
    // VBA
    "abs", "array", "asc", "cbool", "cbyte", "cdbl", "chr", "cint", "clng", "createobject", "csng", "cstr", "cvar",
    "doevents", "err", "fix", "format", "getobject", "iif", "inputbox", "instr", "instrrev", "int", "isempty",
    "isnull", "isnumeric", "isobject", "join", "lbound", "lcase", "left", "len", "ltrim", "mid", "msgbox", "now",
    "replace", "right", "round", "rtrim", "sgn", "space", "split", "timer", "trim", "ubound", "ucase", "val",
    "vbbinarycompare", "vbcr", "vbcrlf", "vbdefaultbutton1", "vbdefaultbutton2", "vbkeyescape", "vbkeyreturn",
    "vblf", "vbmodal", "vbmodeless", "vbnewline", "vbno", "vbnullstring", "vbokonly", "vbtextcompare", "vbyes",
    "vbyesno",
    // Excel
    "activecell", "activesheet", "activewindow", "activeworkbook", "application", "cells", "range", "selection",
    "sheets", "thisworkbook", "workbooks", "worksheets", "xldialogprintersetup", "xldisabled", "xlerrorhandler",
    "xlinterruptible", "xlmaximized", "xlminimized", "xlnormal", "xlreadonly", "xlreadwrite", "xlsheethidden",
    "xlsheetveryhidden", "xlsheetvisible",
    // Forms
    "fmtextaligncenter", "fmtextalignleft", "fmtextalignright",
    // conditional compilation
    "mac", "vba6", "vba7", "win16", "win32", "win64"};

enum class Tok { Ident, Number, String, Op };
struct Token {
    Tok kind;
    std::string text;
};

struct Statement {
    int line = 0;
    std::vector<Token> tokens;
};

bool isIdent(const Token& t, std::string_view word) { return t.kind == Tok::Ident && lower(t.text) == word; }
bool isOp(const Token& t, std::string_view op) { return t.kind == Tok::Op && t.text == op; }

std::vector<std::string> physicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(current);
            current.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current.push_back(text[i]);
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

class Analyser {
public:
    Analyser(const Component& component, Analysis& out) : component_(component), out_(out) {}

    void run() {
        out_.lines = physicalLines(component_.text);
        std::vector<Token> logical;
        int logicalStart = 0;
        for (std::size_t i = 0; i < out_.lines.size(); ++i) {
            const int lineNo = int(i) + 1;
            if (logical.empty()) logicalStart = lineNo;
            const bool continues = tokenize(out_.lines[i], lineNo, logical);
            if (continues) continue;
            handleLogicalLine(logicalStart, logical);
            logical.clear();
        }
        if (!logical.empty()) {
            problem(logicalStart, "the last line ends with a line continuation");
            handleLogicalLine(logicalStart, logical);
        }
        for (const Block& b : stack_) problem(b.line, "'" + b.kind + "' is never closed");
    }

private:
    struct Block {
        std::string kind;  // sub, function, property, if, with, for, do, while, select, #if
        std::string var;   // the For variable
        int line = 0;
    };

    void problem(int line, const std::string& message) { out_.problems.push_back({component_.name, line, message}); }

    // Appends the tokens of one physical line; true when it continues on the next.
    bool tokenize(const std::string& s, int lineNo, std::vector<Token>& tokens) {
        std::size_t i = 0;
        const std::size_t n = s.size();
        while (i < n) {
            const char c = s[i];
            if (c == ' ' || c == '\t') {
                ++i;
            } else if (c == '\'') {
                break;
            } else if (c == '"') {
                std::string content;
                std::size_t j = i + 1;
                bool closed = false;
                while (j < n) {
                    if (s[j] == '"') {
                        if (j + 1 < n && s[j + 1] == '"') {
                            content.push_back('"');
                            j += 2;
                            continue;
                        }
                        closed = true;
                        ++j;
                        break;
                    }
                    content.push_back(s[j++]);
                }
                if (!closed) problem(lineNo, "a string literal is not closed");
                out_.stringLiterals.push_back(content);
                tokens.push_back({Tok::String, content});
                i = j;
            } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                std::size_t j = i;
                while (j < n && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '_')) ++j;
                const std::string word = s.substr(i, j - i);
                if (word == "_") {
                    // A continuation: " _" as the line's last text.
                    if (s.find_first_not_of(" \t", j) == std::string::npos) return true;
                    problem(lineNo, "'_' in the middle of a line");
                } else if (lower(word) == "rem" && (tokens.empty() || isOp(tokens.back(), ":"))) {
                    break;
                } else {
                    tokens.push_back({Tok::Ident, word});
                }
                i = j;
                if (i < n && std::string_view("$%&!#@").find(s[i]) != std::string_view::npos &&
                    (i + 1 >= n || !std::isalnum(static_cast<unsigned char>(s[i + 1])))) ++i;  // type character
            } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                       (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
                        (tokens.empty() || tokens.back().kind == Tok::Op))) {
                std::size_t j = i;
                while (j < n && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
                tokens.push_back({Tok::Number, s.substr(i, j - i)});
                i = j;
            } else if (c == '&' && i + 1 < n && (s[i + 1] == 'H' || s[i + 1] == 'h')) {
                std::size_t j = i + 2;
                while (j < n && std::isxdigit(static_cast<unsigned char>(s[j]))) ++j;
                if (j < n && s[j] == '&') ++j;
                tokens.push_back({Tok::Number, s.substr(i, j - i)});
                i = j;
            } else {
                static const char* const kTwo[] = {":=", "<>", "<=", ">="};
                std::string op(1, c);
                for (const char* two : kTwo)
                    if (s.compare(i, 2, two) == 0) op = two;
                tokens.push_back({Tok::Op, op});
                i += op.size();
            }
        }
        return false;
    }

    void handleLogicalLine(int line, std::vector<Token> tokens) {
        if (tokens.empty()) return;
        // A label: a name and a colon at the start of the line.
        if (tokens.size() >= 2 && tokens[0].kind == Tok::Ident && isOp(tokens[1], ":") &&
            !kKeywords.count(lower(tokens[0].text))) {
            if (procedure_.empty()) problem(line, "a label outside a procedure");
            declare(tokens[0].text, DeclarationKind::Label, false, line);
            tokens.erase(tokens.begin(), tokens.begin() + 2);
        }
        Statement st;
        st.line = line;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (isOp(tokens[i], ":") && !(i > 0 && oneLineIf(tokens, i))) {
                if (!st.tokens.empty()) statement(st);
                st.tokens.clear();
            } else {
                st.tokens.push_back(tokens[i]);
            }
        }
        if (!st.tokens.empty()) statement(st);
    }

    // A colon after the Then of a one-line If belongs to that If.
    static bool oneLineIf(const std::vector<Token>& tokens, std::size_t colon) {
        bool seenIf = false;
        for (std::size_t i = 0; i < colon; ++i) {
            if (isIdent(tokens[i], "if") && (i == 0 || isOp(tokens[i - 1], ":"))) seenIf = true;
            if (seenIf && isIdent(tokens[i], "then") && i + 1 < colon) return true;
        }
        return false;
    }

    void declare(const std::string& name, DeclarationKind kind, bool isPublic, int line) {
        Declaration d;
        d.name = name;
        d.kind = kind;
        d.isPublic = isPublic;
        d.moduleLevel = procedure_.empty() && kind != DeclarationKind::Label;
        d.procedure = procedure_;
        d.line = line;
        out_.declarations.push_back(d);
        if (kind == DeclarationKind::Label) labels_.insert(lower(name));
    }

    // Uses among tokens[from, to): names not behind a "." or "!", not named
    // arguments, not type names after As.
    void uses(const Statement& st, std::size_t from, std::size_t to = std::string::npos) {
        to = std::min(to, st.tokens.size());
        for (std::size_t i = from; i < to; ++i) {
            const Token& t = st.tokens[i];
            if (isIdent(t, "as")) {
                ++i;
                while (i < to && (st.tokens[i].kind == Tok::Ident || isOp(st.tokens[i], "."))) ++i;
                --i;
                continue;
            }
            if (t.kind != Tok::Ident || kKeywords.count(lower(t.text))) continue;
            if (i > 0 && (isOp(st.tokens[i - 1], ".") || isOp(st.tokens[i - 1], "!"))) continue;
            if (i + 1 < st.tokens.size() && isOp(st.tokens[i + 1], ":=")) continue;
            out_.uses.push_back({t.text, procedure_, st.line});
        }
    }

    void push(const std::string& kind, int line, std::string var = {}) { stack_.push_back({kind, std::move(var), line}); }

    void close(const std::string& kind, const Statement& st, const std::string& var = {}) {
        const auto it = std::find_if(stack_.rbegin(), stack_.rend(), [&](const Block& b) { return b.kind == kind; });
        if (it == stack_.rend()) {
            problem(st.line, "'" + closer(kind) + "' without '" + kind + "'");
            return;
        }
        const Block top = stack_.back();
        if (top.kind != kind) {
            problem(st.line, "'" + closer(kind) + "' closes '" + top.kind + "' opened on line " + std::to_string(top.line));
            // Go on as if the blocks left open had been closed.
            stack_.erase(std::next(it).base(), stack_.end());
            return;
        }
        if (!var.empty() && !top.var.empty() && lower(var) != lower(top.var))
            problem(st.line, "'Next " + var + "' closes 'For " + top.var + "'");
        stack_.pop_back();
    }

    static std::string closer(const std::string& kind) {
        if (kind == "for") return "Next";
        if (kind == "do") return "Loop";
        if (kind == "while") return "Wend";
        if (kind == "#if") return "#End If";
        return "End " + kind;
    }

    bool inside(std::string_view kind) const {
        return std::any_of(stack_.begin(), stack_.end(), [&](const Block& b) { return b.kind == kind; });
    }

    void statement(const Statement& st) {
        const auto& t = st.tokens;
        if (isOp(t[0], "#")) return preprocessor(st);
        std::size_t i = 0;
        bool hasScope = false, isPrivate = false;
        while (i < t.size() && (isIdent(t[i], "public") || isIdent(t[i], "private") || isIdent(t[i], "friend") ||
                                isIdent(t[i], "global") || isIdent(t[i], "static"))) {
            if (isIdent(t[i], "private")) isPrivate = true;
            if (!isIdent(t[i], "static")) hasScope = true;
            ++i;
        }
        const bool isPublic = !isPrivate;
        if (i >= t.size()) return problem(st.line, "a scope word without a declaration");
        const std::string head = t[i].kind == Tok::Ident ? lower(t[i].text) : std::string();

        if (head == "sub" || head == "function" || head == "property") return procedureStart(st, i, isPublic);
        if (head == "declare") {
            std::size_t k = i + 1;
            if (k < t.size() && isIdent(t[k], "ptrsafe")) ++k;
            if (k + 1 < t.size()) declare(t[k + 1].text, DeclarationKind::Declare, isPublic, st.line);
            if (!procedure_.empty()) problem(st.line, "a Declare inside a procedure");
            return;
        }
        if (head == "dim" || head == "const" || (hasScope && head != "enum" && head != "type") ||
            (i > 0 && isIdent(t[i - 1], "static"))) {
            // Module-level Dim and Private are private; Public and Global public.
            const bool publicVariable = hasScope && !isPrivate;
            return variables(st, head == "dim" || head == "const" ? i + 1 : i, head == "const", publicVariable);
        }
        if (head == "option") {
            if (t.size() > 1 && isIdent(t[1], "explicit")) out_.optionExplicit = true;
            return;
        }
        if (head == "end") return ending(st);
        if (procedure_.empty()) return problem(st.line, "a statement outside any procedure");
        if (head == "if") {
            const auto then = std::find_if(t.begin(), t.end(), [](const Token& x) { return isIdent(x, "then"); });
            if (then == t.end()) return problem(st.line, "'If' without 'Then'");
            uses(st, 1);
            if (then + 1 == t.end()) push("if", st.line);
            else oneLineBody(st, std::size_t(then - t.begin()) + 1);
            return;
        }
        if (head == "elseif" || head == "else") {
            if (stack_.empty() || stack_.back().kind != "if") problem(st.line, "'" + t[0].text + "' outside a block If");
            if (head == "elseif" && std::none_of(t.begin(), t.end(), [](const Token& x) { return isIdent(x, "then"); }))
                problem(st.line, "'ElseIf' without 'Then'");
            return uses(st, 1);
        }
        if (head == "with") {
            push("with", st.line);
            return uses(st, 1);
        }
        if (head == "for") {
            const std::size_t v = t.size() > 1 && isIdent(t[1], "each") ? 2 : 1;
            push("for", st.line, v < t.size() ? t[v].text : std::string());
            return uses(st, 1);
        }
        if (head == "next") {
            if (t.size() == 1) return close("for", st);
            for (std::size_t k = 1; k < t.size(); k += 2) close("for", st, t[k].text);
            return;
        }
        if (head == "do") {
            push("do", st.line);
            return uses(st, 1);
        }
        if (head == "loop") {
            close("do", st);
            return uses(st, 1);
        }
        if (head == "while") {
            push("while", st.line);
            return uses(st, 1);
        }
        if (head == "wend") return close("while", st);
        if (head == "select") {
            if (t.size() < 2 || !isIdent(t[1], "case")) problem(st.line, "'Select' without 'Case'");
            push("select", st.line);
            return uses(st, 2);
        }
        if (head == "case") {
            if (stack_.empty() || stack_.back().kind != "select") problem(st.line, "'Case' outside 'Select Case'");
            return uses(st, 1);
        }
        if (head == "exit") return exitStatement(st);
        if (head == "goto" || head == "on" || head == "resume") return jump(st);
        if (head == "redim") return uses(st, t.size() > 1 && isIdent(t[1], "preserve") ? 2 : 1);
        uses(st, 0);
    }

    // The statements after a one-line If's Then: no blocks open there.
    void oneLineBody(const Statement& st, std::size_t from) {
        for (std::size_t k = from; k < st.tokens.size(); ++k) {
            const Token& x = st.tokens[k];
            const bool startsStatement = k == from || isIdent(st.tokens[k - 1], "else");
            if (startsStatement && (isIdent(x, "exit"))) {
                Statement exitSt{st.line, {st.tokens.begin() + std::ptrdiff_t(k), st.tokens.end()}};
                exitStatement(exitSt);
            }
            if (startsStatement && (isIdent(x, "goto") || isIdent(x, "resume"))) {
                Statement j{st.line, {st.tokens.begin() + std::ptrdiff_t(k), st.tokens.end()}};
                jump(j);
            }
            if (startsStatement && (isIdent(x, "for") || isIdent(x, "with") || isIdent(x, "do") || isIdent(x, "select")))
                problem(st.line, "a block statement in a one-line If");
        }
    }

    void procedureStart(const Statement& st, std::size_t i, bool isPublic) {
        const auto& t = st.tokens;
        const std::string kind = lower(t[i].text);
        if (!procedure_.empty()) problem(st.line, "a procedure inside the procedure " + procedure_);
        std::size_t k = i + 1;
        if (kind == "property" && k < t.size()) ++k;  // Get, Let, Set
        if (k >= t.size() || t[k].kind != Tok::Ident) return problem(st.line, "a procedure without a name");
        procedure_.clear();
        declare(t[k].text, DeclarationKind::Procedure, isPublic, st.line);
        procedure_ = t[k].text;
        labels_.clear();
        jumps_.clear();
        push(kind, st.line);
        // Parameters: the name after "(" or "," and any of Optional, ByVal, ByRef, ParamArray.
        bool expectName = false;
        int depth = 0;
        for (std::size_t p = k + 1; p < t.size(); ++p) {
            if (isOp(t[p], "(")) {
                if (++depth == 1) expectName = true;
                continue;
            }
            if (isOp(t[p], ")")) {
                --depth;
                continue;
            }
            if (depth == 1 && isOp(t[p], ",")) {
                expectName = true;
                continue;
            }
            if (depth == 1 && expectName && t[p].kind == Tok::Ident) {
                const std::string w = lower(t[p].text);
                if (w == "optional" || w == "byval" || w == "byref" || w == "paramarray") continue;
                declare(t[p].text, DeclarationKind::Parameter, false, st.line);
                expectName = false;
            }
        }
    }

    void variables(const Statement& st, std::size_t from, bool constants, bool isPublic) {
        const auto& t = st.tokens;
        bool expectName = true;
        int depth = 0;
        for (std::size_t p = from; p < t.size(); ++p) {
            if (isOp(t[p], "(")) ++depth;
            if (isOp(t[p], ")")) --depth;
            if (depth == 0 && isOp(t[p], ",")) {
                expectName = true;
                continue;
            }
            if (expectName && t[p].kind == Tok::Ident) {
                if (isIdent(t[p], "withevents") || isIdent(t[p], "const")) continue;
                declare(t[p].text, constants ? DeclarationKind::Constant : DeclarationKind::Variable, isPublic, st.line);
                expectName = false;
                continue;
            }
            if (isOp(t[p], "=")) {  // a constant's value
                std::size_t end = p + 1;
                int d = 0;
                while (end < t.size() && !(d == 0 && isOp(t[end], ","))) {
                    if (isOp(t[end], "(")) ++d;
                    if (isOp(t[end], ")")) --d;
                    ++end;
                }
                uses(st, p + 1, end);
                p = end - 1;
            }
        }
    }

    void ending(const Statement& st) {
        const auto& t = st.tokens;
        if (t.size() == 1) {
            if (procedure_.empty()) problem(st.line, "'End' outside any procedure");
            return;
        }
        const std::string what = lower(t[1].text);
        if (what == "sub" || what == "function" || what == "property") {
            close(what, st);
            for (const auto& [label, line] : jumps_)
                if (!labels_.count(label)) problem(line, "GoTo " + label + ": no such label in " + procedure_);
            procedure_.clear();
            return;
        }
        if (what == "if" || what == "with" || what == "select") return close(what, st);
        if (what == "type" || what == "enum") return;
        problem(st.line, "'End " + t[1].text + "' is not a statement");
    }

    void exitStatement(const Statement& st) {
        const auto& t = st.tokens;
        if (t.size() < 2) return problem(st.line, "'Exit' without what it leaves");
        const std::string what = lower(t[1].text);
        if (what == "sub" || what == "function" || what == "property") {
            const auto proc = std::find_if(stack_.begin(), stack_.end(), [](const Block& b) {
                return b.kind == "sub" || b.kind == "function" || b.kind == "property";
            });
            if (proc == stack_.end() || proc->kind != what) problem(st.line, "'Exit " + t[1].text + "' outside a " + what);
        } else if (what == "for" || what == "do") {
            if (!inside(what)) problem(st.line, "'Exit " + t[1].text + "' outside a " + what + " loop");
        } else {
            problem(st.line, "'Exit " + t[1].text + "' leaves nothing");
        }
    }

    void jump(const Statement& st) {
        const auto& t = st.tokens;
        const auto go = std::find_if(t.begin(), t.end(), [](const Token& x) { return isIdent(x, "goto") || isIdent(x, "resume"); });
        if (go != t.end() && go + 1 != t.end() && (go + 1)->kind == Tok::Ident && !isIdent(*(go + 1), "next"))
            jumps_.emplace_back(lower((go + 1)->text), st.line);
        if (isIdent(t[0], "on") && (t.size() < 3 || !isIdent(t[1], "error")))
            problem(st.line, "'On' other than 'On Error'");
    }

    void preprocessor(const Statement& st) {
        const auto& t = st.tokens;
        if (t.size() < 2) return problem(st.line, "a lone '#'");
        const std::string what = lower(t[1].text);
        if (what == "if") return push("#if", st.line);
        if (what == "elseif" || what == "else") {
            if (stack_.empty() || stack_.back().kind != "#if") problem(st.line, "'#" + t[1].text + "' outside '#If'");
            return;
        }
        if (what == "end") return close("#if", st);
        if (what == "const") return;
        problem(st.line, "an unknown directive #" + t[1].text);
    }

    const Component& component_;
    Analysis& out_;
    std::vector<Block> stack_;
    std::string procedure_;
    std::set<std::string> labels_;
    std::vector<std::pair<std::string, int>> jumps_;
};

}  // namespace

Analysis analyse(const Component& component) {
    Analysis out;
    Analyser(component, out).run();
    return out;
}

std::vector<Problem> lint(const std::vector<Component>& components, bool requireDeclarations) {
    std::vector<Problem> problems;
    std::vector<Analysis> analyses;
    for (const Component& c : components) {
        analyses.push_back(analyse(c));
        problems.insert(problems.end(), analyses.back().problems.begin(), analyses.back().problems.end());
    }
    std::set<std::string> componentNames;
    for (const Component& c : components) componentNames.insert(lower(c.name));

    for (std::size_t ci = 0; ci < components.size(); ++ci) {
        const Analysis& a = analyses[ci];
        const bool strict = requireDeclarations || a.optionExplicit;
        for (const Analysis::Use& use : a.uses) {
            const std::string name = lower(use.name);
            const auto declaredHere = [&](const Declaration& d) {
                return lower(d.name) == name && d.kind != DeclarationKind::Label &&
                       (d.moduleLevel || lower(d.procedure) == lower(use.procedure));
            };
            if (std::any_of(a.declarations.begin(), a.declarations.end(), declaredHere)) continue;
            if (componentNames.count(name)) continue;
            bool found = false, reachable = false;
            std::string where;
            for (std::size_t other = 0; other < components.size(); ++other) {
                if (other == ci) continue;
                for (const Declaration& d : analyses[other].declarations) {
                    if (!d.moduleLevel || lower(d.name) != name) continue;
                    found = true;
                    where = components[other].name;
                    if (components[other].kind == ComponentKind::Standard && d.isPublic) reachable = true;
                }
            }
            if (found && !reachable)
                problems.push_back({components[ci].name, use.line,
                                    use.name + " is declared in " + where + " but not Public in a standard module"});
            if (found || kBuiltIns.count(name)) continue;
            if (strict) problems.push_back({components[ci].name, use.line, use.name + " is not declared"});
        }
    }
    return problems;
}

}  // namespace vbalint
