#pragma once
// The program's automation objects: Excel, Word and PowerPoint are the
// in-process office engine, the file-system object the Linux one.
#include "automation/ObjectFactory.h"

namespace app {

class AppObjectFactory : public automation::ObjectFactory {
public:
    std::shared_ptr<automation::excel::Application> CreateExcel() override;
    std::shared_ptr<automation::FileSystem> CreateFileSystem() override;
    std::shared_ptr<automation::word::Application> CreateWord() override;
    std::shared_ptr<automation::powerpoint::Presentation> GetPresentation(const std::string& fileName) override;
};

}  // namespace app
