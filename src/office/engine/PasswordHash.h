#pragma once
// The 16-bit password verifier of sheet and workbook protection (the value of
// the PASSWORD record): 0 means "no password".
#include <cstdint>
#include <string_view>

namespace office::engine {

std::uint16_t protectionPasswordHash(std::string_view utf8Password);

}  // namespace office::engine
