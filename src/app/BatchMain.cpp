#include "app/BatchMain.h"

#include <exception>
#include <iostream>

#include "app/AppObjectFactory.h"
#include "builder/BatchBuild.h"
#include "core/Context.h"
#include "platform/LinuxPlatform.h"
#include "ui/console/ConsoleWindowSystem.h"

namespace app {

int RunBatch(const std::vector<std::string>& arguments) {
    std::string error;
    auto request = builder::ParseBatchArguments(arguments, error);
    if (!request) {
        std::cerr << "Tavolex: " << error << "\n" << builder::BatchUsage() << "\n";
        return builder::kBatchNothingBuilt;
    }
    ui::ConsoleWindowSystem console(std::cout);
    platform::LinuxPlatform platform;
    AppObjectFactory objects;
    objects.lockWait = office::engine::kBatchLockWait;  // a scheduled run may wait for a user's save
    core::Context ctx(objects, platform, console);
    try {
        return builder::RunBatchBuild(ctx, console, *request);
    } catch (const std::exception& failure) {
        std::cerr << "Tavolex: " << failure.what() << "\n";
        return builder::kBatchNothingBuilt;
    }
}

}  // namespace app
