#include "office/engine/PasswordHash.h"

#include <vector>

#include "office/crypto/Crypto.h"

namespace office::engine {

std::uint16_t protectionPasswordHash(std::string_view utf8Password) {
    if (utf8Password.empty()) return 0;
    // The verifier works on one byte per character: the low byte of each UTF-16 unit.
    std::vector<std::uint8_t> units = crypto::utf16le(utf8Password);
    std::vector<std::uint8_t> bytes;
    bytes.push_back(static_cast<std::uint8_t>(units.size() / 2));
    for (std::size_t i = 0; i < units.size(); i += 2) bytes.push_back(units[i]);

    std::uint16_t verifier = 0;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        verifier = static_cast<std::uint16_t>(((verifier >> 14) & 0x0001) | ((verifier << 1) & 0x7FFF));
        verifier ^= *it;
    }
    return static_cast<std::uint16_t>(verifier ^ 0xCE4B);
}

}  // namespace office::engine
