#pragma once
// The office engine's Excel, Word and PowerPoint with the Linux file system,
// for tools and tests that need real files but no chart pictures.
#include <memory>
#include <string>

#include "automation/ObjectFactory.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"

namespace testsupport {

class EngineObjects : public automation::ObjectFactory {
public:
    std::shared_ptr<automation::excel::Application> CreateExcel() override {
        return office::engine::createExcelApplication();
    }
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override {
        return std::make_shared<platform::LinuxFileSystem>();
    }
    std::shared_ptr<automation::word::Application> CreateWord() override {
        return office::engine::createWordApplication();
    }
    std::shared_ptr<automation::powerpoint::Presentation> GetPresentation(const std::string& fileName) override {
        return office::engine::bindPresentationFile(fileName);
    }
};

}  // namespace testsupport
