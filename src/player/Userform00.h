#pragma once
// The blank backdrop the Presentation Menu stands in front of. It has no
// controls; the player shows it modeless before each menu and unloads it
// when a sheet line fills the screen or the menu's "Exit" ends the player.
#include "ui/model/Form.h"

namespace player {

class Userform00 : public ui::Form {
public:
    Userform00() : ui::Form("Userform00") {}

    void UserForm_Initialize() override;
};

}  // namespace player
