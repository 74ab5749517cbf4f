#pragma once
// The protection fields of a macro project's PROJECT stream: CMG (protection
// state), DPB (password) and GC (visibility), each obfuscated as the format's
// "Data Encryption" (MS-OVBA 2.4.3), and the password hash DPB carries (2.4.4).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace office::vba {

// The random parts of one obfuscated value: a seed byte, and the filler bytes
// whose number the seed decides ((seed & 6) / 2).
struct ObfuscationNoise {
    std::uint8_t seed = 0;
    std::array<std::uint8_t, 3> filler{};
};

// Upper-case hexadecimal text of `data` obfuscated for the project whose ID
// line holds `projectId` ("{GUID}", braces included).
std::string obfuscate(std::span<const std::uint8_t> data, std::string_view projectId,
                      const ObfuscationNoise& noise);
std::string obfuscate(std::span<const std::uint8_t> data, std::string_view projectId);  // random noise

// The data back from such a text. Text that is not one (odd length, not hex,
// a wrong version byte, a length that does not match) raises AutomationError 1004.
std::vector<std::uint8_t> deobfuscate(std::string_view hexText);

// DPB data for a password: the 29-byte hash structure (0xFF, flags of the zero
// bytes, the 4-byte key and SHA-1(password ‖ key) with zeros stored as 0x01,
// 0x00). `passwordBytes` is the password in the project's code page.
std::vector<std::uint8_t> passwordHashData(std::string_view passwordBytes, const std::array<std::uint8_t, 4>& key);

// Whether `passwordBytes` opens a project whose DPB data is `data`: the data of
// "no password" (one zero byte) is opened by the empty password only; a hash
// structure by the password it was made from; some writers store the password
// itself, zero-terminated, which is compared as it stands.
bool passwordOpens(std::span<const std::uint8_t> data, std::string_view passwordBytes);

// True when DPB data says the project has a password.
bool hasPassword(std::span<const std::uint8_t> data);

}  // namespace office::vba
