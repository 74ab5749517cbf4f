#pragma once
// The office engine's Excel, Word and PowerPoint with the Linux file system,
// for tools, tests and benchmarks that need real files.
#include <memory>
#include <string>

#include "automation/ObjectFactory.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineApplication.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"

namespace testsupport {

class EngineObjects : public automation::ObjectFactory {
public:
    std::shared_ptr<automation::excel::Application> CreateExcel() override {
        auto app = office::engine::createExcelApplication(pictures);
        if (drawChart) dynamic_cast<office::engine::EngineApplication&>(*app).state()->drawChart = drawChart;
        return app;
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

    // How the next Excel instances draw: chart pictures and object icons by
    // `pictures` (none when empty), chart pictures by `drawChart` when set.
    std::shared_ptr<automation::PictureMaker> pictures;
    office::engine::ChartDrawer drawChart;
};

}  // namespace testsupport
