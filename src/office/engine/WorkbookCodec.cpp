#include "office/engine/WorkbookCodec.h"

#include "office/XlsFile.h"

namespace office::engine {

WorkbookModel decodeWorkbook(std::vector<std::uint8_t>&& bytes, const std::string& password) {
    return readXls(std::move(bytes), password);
}

std::vector<std::uint8_t> encodeWorkbook(const WorkbookModel& model, const std::string& password) {
    return writeXls(model, password);
}

}  // namespace office::engine
