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
// The same handed to `write` in consecutive pieces, valid during the call.
void encodeWorkbook(const WorkbookModel& model, const std::string& password,
                    const std::function<void(std::span<const std::span<const std::uint8_t>>)>& write);

}  // namespace office::engine
