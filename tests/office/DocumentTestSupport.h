#pragma once
// Edits of real Word and PowerPoint files for tests: a recorded count
// changed, a flag set, a record's bytes replaced, so that the readers can be
// shown files that differ from a good one in exactly one point.
#include <cstdint>
#include <vector>

#include "office/cfb/CompoundFile.h"

namespace doctest {

// Little-endian writes into a byte block.
void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value);
void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
std::uint16_t get16(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint32_t get32(const std::vector<std::uint8_t>& bytes, std::size_t at);

// Word: the DOP's page count (cPg) of the document's table stream.
void setDopPageCount(office::cfb::Node& root, std::int16_t count);
// Word: sets bits of the FIB's flags word (0x0100 encrypted).
void setFibFlags(office::cfb::Node& root, std::uint16_t bits);

// A 32-bit property of the first section of a property-set stream, which
// must hold it already.
void setProperty(std::vector<std::uint8_t>& stream, std::uint32_t id, std::uint32_t value);

// PowerPoint: stream offsets of every record of `type` inside the
// "PowerPoint Document" stream, found by walking containers.
std::vector<std::size_t> findRecords(const std::vector<std::uint8_t>& stream, std::uint16_t type);

}  // namespace doctest
