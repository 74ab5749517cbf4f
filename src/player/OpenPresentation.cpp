#include "player/OpenPresentation.h"

#include "automation/AutomationError.h"

namespace player {

void WithOpenPresentation(automation::ObjectFactory& objects, const std::string& path,
                          const std::function<void(const PresentationFile&)>& work) {
    auto excel = objects.CreateExcel();
    struct Quit {
        automation::excel::Application& excel;
        ~Quit() {
            // A failing Quit must not hide the error that ended the work.
            try {
                excel.Quit();
            } catch (const automation::AutomationError&) {
            }
        }
    } quit{*excel};
    PresentationFile file = PresentationFile::Open(*excel, path);
    struct Close {
        PresentationFile& file;
        ~Close() { file.close(); }
    } close{file};
    work(file);
}

}  // namespace player
