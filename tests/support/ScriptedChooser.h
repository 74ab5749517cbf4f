#pragma once
// The user's steps in the chooser Form1 (file mode), for scripted tests and
// tools that drive the line editor.
#include <filesystem>
#include <string>

#include "ui/model/FileControls.h"
#include "ui/scripted/ScriptedWindowSystem.h"

namespace testsupport {

// In the chooser on top: the folder list moves to the folder of `path` when
// it shows another one, the file is clicked in the file list, then Select.
// Fails the script when the file is not listed.
inline void chooseFile(ui::ScriptedWindowSystem& windows, const std::string& path) {
    const std::filesystem::path file(path);
    windows.act([folder = file.parent_path().string(), name = file.filename().string()](ui::Form& form) {
        auto* folders = dynamic_cast<ui::DirListBox*>(form.findControl("Dir1"));
        auto* files = dynamic_cast<ui::FileListBox*>(form.findControl("File1"));
        if (!folders || !files) throw ui::ScriptError("the form on top is no chooser: " + form.name());
        if (ui::folderPath(folders->Path()) != ui::folderPath(folder)) folders->setPath(folder);
        for (int i = 0; i < files->ListCount(); ++i)
            if (files->List(i) == name) return files->userSelect(i);
        throw ui::ScriptError("the chooser does not list " + name + " in " + folder);
    });
    windows.click("Command1");
}

}  // namespace testsupport
