#include "app/AppObjectFactory.h"

#include "office/engine/DocumentEngines.h"
#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"
#include "render/QtPictureMaker.h"

namespace app {

std::shared_ptr<automation::excel::Application> AppObjectFactory::CreateExcel() {
    return office::engine::createExcelApplication(std::make_shared<render::QtPictureMaker>());
}

std::shared_ptr<automation::FileSystem> AppObjectFactory::CreateFileSystem() {
    return std::make_shared<platform::LinuxFileSystem>();
}

std::shared_ptr<automation::word::Application> AppObjectFactory::CreateWord() {
    return office::engine::createWordApplication();
}

std::shared_ptr<automation::powerpoint::Presentation> AppObjectFactory::GetPresentation(const std::string& fileName) {
    return office::engine::bindPresentationFile(fileName);
}

}  // namespace app
