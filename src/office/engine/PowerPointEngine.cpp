// The engine's PowerPoint: a presentation bound by its file name opens in an
// application of its own; its slides are counted once, at binding.
#include <algorithm>

#include "automation/AutomationError.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineWorkbook.h"
#include "office/ppt/SlideList.h"

namespace office::engine {

namespace {

namespace powerpoint = automation::powerpoint;
using automation::AutomationError;
namespace errnum = automation::errnum;

struct PresentationCore {
    std::string fullPath;
    std::string name;
    long slides = 0;
    bool closed = false;
};

struct PowerPointState {
    std::vector<std::shared_ptr<PresentationCore>> open;  // in opening order
};

class EngineSlides final : public powerpoint::Slides {
public:
    explicit EngineSlides(std::shared_ptr<PresentationCore> core) : core_(std::move(core)) {}
    long Count() const override {
        if (core_->closed) throw AutomationError(errnum::kPowerPointObjectGone, "The presentation '" + core_->name + "' has been closed.");
        return core_->slides;
    }

private:
    std::shared_ptr<PresentationCore> core_;
};

class EnginePresentation final : public powerpoint::Presentation {
public:
    EnginePresentation(std::shared_ptr<PowerPointState> state, std::shared_ptr<PresentationCore> core)
        : state_(std::move(state)), core_(std::move(core)), slides_(core_) {}

    std::string Name() const override { return usable().name; }
    std::string FullName() const override { return usable().fullPath; }
    powerpoint::Slides& GetSlides() override {
        usable();
        return slides_;
    }
    void Close() override {
        usable();
        core_->closed = true;
        state_->open.erase(std::remove(state_->open.begin(), state_->open.end(), core_), state_->open.end());
    }
    std::shared_ptr<powerpoint::Application> GetApplication() override;

private:
    const PresentationCore& usable() const {
        if (core_->closed)
            throw AutomationError(errnum::kPowerPointObjectGone, "The presentation '" + core_->name + "' has been closed.");
        return *core_;
    }

    std::shared_ptr<PowerPointState> state_;
    std::shared_ptr<PresentationCore> core_;
    EngineSlides slides_;
};

class EnginePowerPoint final : public powerpoint::Application {
public:
    explicit EnginePowerPoint(std::shared_ptr<PowerPointState> state) : state_(std::move(state)) {}
    long PresentationCount() const override { return static_cast<long>(state_->open.size()); }
    std::shared_ptr<powerpoint::Presentation> Presentations(long index) override {
        if (index < 1 || index > PresentationCount())
            throw AutomationError(errnum::kSubscriptOutOfRange, "Subscript out of range");
        return std::make_shared<EnginePresentation>(state_, state_->open[static_cast<std::size_t>(index - 1)]);
    }

private:
    std::shared_ptr<PowerPointState> state_;
};

std::shared_ptr<powerpoint::Application> EnginePresentation::GetApplication() {
    usable();
    return std::make_shared<EnginePowerPoint>(state_);
}

}  // namespace

std::shared_ptr<powerpoint::Presentation> bindPresentationFile(const std::string& path) {
    auto core = std::make_shared<PresentationCore>();
    core->fullPath = absolutePath(path);
    core->name = fileNameOf(core->fullPath);
    core->slides = ppt::readPresentationSlidesFile(core->fullPath).slides;
    auto state = std::make_shared<PowerPointState>();
    state->open.push_back(core);
    return std::make_shared<EnginePresentation>(state, core);
}

}  // namespace office::engine
