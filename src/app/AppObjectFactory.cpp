#include "app/AppObjectFactory.h"

#include "office/engine/ExcelEngine.h"
#include "platform/LinuxFileSystem.h"

namespace app {

std::shared_ptr<automation::excel::Application> AppObjectFactory::CreateExcel() {
    return office::engine::createExcelApplication(nullptr, lockWait);
}

std::shared_ptr<automation::FileSystem> AppObjectFactory::CreateFileSystem() {
    return std::make_shared<platform::LinuxFileSystem>();
}

}  // namespace app
