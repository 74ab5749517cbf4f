#pragma once
// The player's Word, PowerPoint and PDF lines as PDF pages, laid out by the
// layout engine this machine has.
#include <memory>

#include "core/Context.h"
#include "player/LinePages.h"

namespace app {

std::unique_ptr<player::LinePdfMaker> MakeLinePdfMaker(core::Context& ctx);

}  // namespace app
