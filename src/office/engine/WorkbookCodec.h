#pragma once
// The one place where the engine turns file bytes into a workbook model and
// back; everything else works on the model.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace office::engine {

// Raises the reader's AutomationError (wrong password, damaged file, ...).
// The bytes are let go of while reading.
WorkbookModel decodeWorkbook(std::vector<std::uint8_t>&& bytes, const std::string& password);
// A non-empty password gives the file that open password.
std::vector<std::uint8_t> encodeWorkbook(const WorkbookModel& model, const std::string& password);
// The same handed to `put` piece by piece, each valid during its call. With
// `clearStream`, it gives back its Workbook stream in clear (or nothing), for
// decodeWrittenWorkbook.
void encodeWorkbook(const WorkbookModel& model, const std::string& password,
                    const std::function<void(std::span<const std::uint8_t>)>& put, std::vector<std::uint8_t>* clearStream);
// The model decodeWorkbook gives for the file encodeWorkbook just wrote of a
// model with `rootStorage`, without reading or decrypting that file.
WorkbookModel decodeWrittenWorkbook(std::vector<std::uint8_t>&& clearStream, const cfb::Node& rootStorage);

}  // namespace office::engine
