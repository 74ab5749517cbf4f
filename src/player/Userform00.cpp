#include "player/Userform00.h"

namespace player {

void Userform00::UserForm_Initialize() {
    clientHeight = 576;
    clientWidth = 768;
    setCaption("");
    // Left and top 0 give way to the start-up position "centre of the
    // screen", which is where every form of ours opens.
}

}  // namespace player
