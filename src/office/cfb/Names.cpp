// Node helpers, MS-CFB name comparison, CLSID text form.
#include <algorithm>
#include <cstdio>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/cfb/CfbInternal.h"
#include "text/Utf.h"

namespace office::cfb {

namespace detail {

// Simple upper-casing of one UTF-16 unit: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic basic letters (what CFB names use in practice).
char16_t upper(char16_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? char16_t(c - 32) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c & 1) ? c : char16_t(c - 1);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        return (c & 1) ? char16_t(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return char16_t(c - 32);
    if (c >= 0x430 && c <= 0x44F) return char16_t(c - 32);
    if (c >= 0x450 && c <= 0x45F) return char16_t(c - 80);
    return c;
}

int compareUtf16(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char16_t x = upper(a[i]), y = upper(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace detail

int compareNames(std::string_view a, std::string_view b) {
    return detail::compareUtf16(text::utf8ToUtf16(a), text::utf8ToUtf16(b));
}

bool hasCompoundSignature(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return bytes.size() >= 8 && std::equal(sig, sig + 8, bytes.begin());
}

Node* Node::child(std::string_view n) {
    for (auto& c : children)
        if (compareNames(c.name, n) == 0) return &c;
    return nullptr;
}

const Node* Node::child(std::string_view n) const {
    for (const auto& c : children)
        if (compareNames(c.name, n) == 0) return &c;
    return nullptr;
}

Node& Node::addStream(std::string n, std::vector<std::uint8_t> bytes) {
    Node fresh;
    fresh.name = std::move(n);
    fresh.data = std::move(bytes);
    if (Node* existing = child(fresh.name)) {
        *existing = std::move(fresh);
        return *existing;
    }
    children.push_back(std::move(fresh));
    return children.back();
}

Node& Node::addStorage(std::string n, Clsid id) {
    if (Node* existing = child(n)) {
        if (existing->isStorage) {
            if (id != Clsid{}) existing->clsid = id;
            return *existing;
        }
        Node fresh;
        fresh.name = std::move(n);
        fresh.isStorage = true;
        fresh.clsid = id;
        *existing = std::move(fresh);
        return *existing;
    }
    Node fresh;
    fresh.name = std::move(n);
    fresh.isStorage = true;
    fresh.clsid = id;
    children.push_back(std::move(fresh));
    return children.back();
}

const Node* Node::find(std::string_view path) const {
    const Node* at = this;
    while (!path.empty()) {
        const auto slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        if (part.empty()) continue;
        at = at->child(part);
        if (!at) return nullptr;
    }
    return at;
}

Node* Node::find(std::string_view path) {
    return const_cast<Node*>(static_cast<const Node*>(this)->find(path));
}

Clsid clsidFromString(std::string_view text) {
    auto bad = [&]() -> Clsid {
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "Invalid class id: " + std::string(text));
    };
    std::string hex;
    std::string_view t = text;
    if (!t.empty() && t.front() == '{') {
        if (t.back() != '}') return bad();
        t = t.substr(1, t.size() - 2);
    }
    if (t.size() != 36 || t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-') return bad();
    for (char c : t)
        if (c != '-') hex.push_back(c);
    std::uint8_t raw[16];
    for (int i = 0; i < 16; ++i) {
        auto nib = [&](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        int hi = nib(hex[2 * i]), lo = nib(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return bad();
        raw[i] = std::uint8_t(hi << 4 | lo);
    }
    Clsid out;
    // Data1 (4 bytes LE), Data2 (2 LE), Data3 (2 LE), Data4 (8 as is).
    static constexpr int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i) out[i] = raw[order[i]];
    return out;
}

std::string clsidToString(const Clsid& c) {
    char buf[40];
    std::snprintf(buf, sizeof buf,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", c[3],
                  c[2], c[1], c[0], c[5], c[4], c[7], c[6], c[8], c[9], c[10], c[11], c[12], c[13],
                  c[14], c[15]);
    return buf;
}

}  // namespace office::cfb
