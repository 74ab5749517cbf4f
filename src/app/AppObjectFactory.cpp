#include "app/AppObjectFactory.h"

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

}  // namespace app
