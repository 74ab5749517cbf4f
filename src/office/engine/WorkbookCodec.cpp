#include "office/engine/WorkbookCodec.h"

#include "office/XlsFile.h"

namespace office::engine {

WorkbookModel decodeWorkbook(std::vector<std::uint8_t>&& bytes, const std::string& password) {
    return readXls(std::move(bytes), password);
}

std::vector<std::uint8_t> encodeWorkbook(const WorkbookModel& model, const std::string& password) {
    return writeXls(model, password);
}

void encodeWorkbook(const WorkbookModel& model, const std::string& password,
                    const std::function<void(std::span<const std::uint8_t>)>& put, std::vector<std::uint8_t>* clearStream) {
    writeXls(model, password, put, clearStream);
}

WorkbookModel decodeWrittenWorkbook(std::vector<std::uint8_t>&& clearStream, const cfb::Node& rootStorage) {
    return readWrittenXls(std::move(clearStream), rootStorage);
}

}  // namespace office::engine
