#pragma once
// A small VBA-aware checker for the macro texts, which cannot be run here:
// blocks balanced (Sub, Function, Property, If with the one-line form told
// apart, With, For/Next with matching variables, Do/Loop, While/Wend, Select
// Case, #If), Exit and GoTo inside what they leave or jump to, string
// literals closed, line continuations joined, names used across components
// declared Public in a standard module, and every name used declared
// somewhere (always with Option Explicit; on request without it), against a
// list of the VBA, Excel and Forms names the texts may use.
#include <string>
#include <vector>

namespace vbalint {

enum class ComponentKind { Standard, Document, Form };

struct Component {
    std::string name;
    ComponentKind kind = ComponentKind::Standard;
    std::string text;
};

struct Problem {
    std::string component;
    int line = 0;  // 1-based physical line where the statement starts
    std::string message;
};

enum class DeclarationKind { Procedure, Variable, Constant, Declare, Parameter, Label };

struct Declaration {
    std::string name;
    DeclarationKind kind = DeclarationKind::Variable;
    bool isPublic = false;
    bool moduleLevel = true;
    std::string procedure;  // for locals, parameters and labels
    int line = 0;
};

// What one component holds, for the lint and for tests that look for names.
struct Analysis {
    std::vector<Declaration> declarations;    // in text order
    std::vector<std::string> stringLiterals;  // contents, quotes undone
    std::vector<std::string> lines;           // physical lines
    struct Use {
        std::string name;
        std::string procedure;
        int line = 0;
    };
    std::vector<Use> uses;       // identifiers not behind a "." and not named arguments
    std::vector<Problem> problems;  // of this component alone (blocks, literals, labels)
    bool optionExplicit = false;
};

Analysis analyse(const Component& component);

// Every problem of the components, and those between them.
std::vector<Problem> lint(const std::vector<Component>& components, bool requireDeclarations = false);

}  // namespace vbalint
