// The engine's Word: documents are read whole at opening; the page count and
// the page starts come from office/doc.
#include <algorithm>
#include <mutex>

#include "automation/AutomationError.h"
#include "office/doc/WordPages.h"
#include "office/engine/DocumentEngines.h"
#include "office/engine/EngineWorkbook.h"

namespace office::engine {

namespace {

namespace word = automation::word;
using automation::AutomationError;
namespace errnum = automation::errnum;

struct DocumentCore {
    std::string fullPath;
    std::string name;
    doc::WordPages pages;
    bool closed = false;
};

struct WordState {
    bool quit = false;
    bool visible = false;
    std::vector<std::shared_ptr<DocumentCore>> open;  // in opening order; the last is active

    void checkRunning() const {
        if (quit) throw AutomationError(errnum::kServerUnavailable, "The Word application has been closed; its objects can no longer be used.");
    }
    void close(const std::shared_ptr<DocumentCore>& core) {
        core->closed = true;
        open.erase(std::remove(open.begin(), open.end(), core), open.end());
    }
};

// The Word instances running in this process, as the system's table of
// running objects knows them: an embedded document opens in the latest.
struct RunningWords {
    std::mutex mutex;
    std::vector<std::weak_ptr<WordState>> started;

    void add(const std::shared_ptr<WordState>& state) {
        std::lock_guard lock(mutex);
        std::erase_if(started, [](const std::weak_ptr<WordState>& w) { return w.expired(); });
        started.push_back(state);
    }
    std::shared_ptr<WordState> latest() {
        std::lock_guard lock(mutex);
        for (auto it = started.rbegin(); it != started.rend(); ++it)
            if (auto state = it->lock(); state && !state->quit) return state;
        return nullptr;
    }
};

RunningWords& runningWords() {
    static RunningWords words;
    return words;
}

class EngineWordRange final : public word::Range {
public:
    explicit EngineWordRange(long at) : at_(at) {}
    long Start() const override { return at_; }
    long End() const override { return at_; }

private:
    long at_;
};

class EngineWordApplication;

class EngineDocument final : public word::Document {
public:
    EngineDocument(std::shared_ptr<WordState> state, std::shared_ptr<DocumentCore> core)
        : state_(std::move(state)), core_(std::move(core)) {}

    std::string Name() const override { return usable().name; }
    std::string FullName() const override { return usable().fullPath; }

    std::shared_ptr<word::Range> Goto(long what, long which, long count) override {
        const DocumentCore& core = usable();
        if (what != word::kGoToPage)
            throw AutomationError(errnum::kInvalidCall, "Tavolex's Word goes to pages only (What 1).");
        long page = 1;
        switch (which) {
        case word::kGoToAbsolute: page = count; break;
        case word::kGoToNext: page = 1 + count; break;
        case word::kGoToPrevious: page = 1 - count; break;
        case word::kGoToLast: page = core.pages.count; break;
        default: throw AutomationError(errnum::kInvalidCall, "Invalid procedure call or argument");
        }
        return std::make_shared<EngineWordRange>(core.pages.pageStart(page));
    }

    bool PageCountIsEstimate() const override { return usable().pages.source == doc::PageCountSource::Estimate; }

    void Close(int) override {
        usable();
        state_->close(core_);
    }

    std::shared_ptr<word::Application> GetApplication() override;

private:
    const DocumentCore& usable() const {
        state_->checkRunning();
        if (core_->closed)
            throw AutomationError(errnum::kWordObjectDeleted, "The document '" + core_->name + "' has been closed.");
        return *core_;
    }

    std::shared_ptr<WordState> state_;
    std::shared_ptr<DocumentCore> core_;
};

class EngineDocuments final : public word::Documents {
public:
    explicit EngineDocuments(std::shared_ptr<WordState> state) : state_(std::move(state)) {}

    std::shared_ptr<word::Document> Open(const std::string& fileName) override {
        state_->checkRunning();
        const std::string fullPath = absolutePath(fileName);
        for (const auto& core : state_->open) {
            if (core->fullPath != fullPath) continue;
            // Opened again, it becomes the active document.
            auto again = core;
            state_->open.erase(std::find(state_->open.begin(), state_->open.end(), core));
            state_->open.push_back(again);
            return std::make_shared<EngineDocument>(state_, again);
        }
        auto core = std::make_shared<DocumentCore>();
        core->fullPath = fullPath;
        core->name = fileNameOf(fullPath);
        core->pages = doc::readWordPagesFile(fullPath);
        state_->open.push_back(core);
        return std::make_shared<EngineDocument>(state_, core);
    }

    long Count() const override {
        state_->checkRunning();
        return static_cast<long>(state_->open.size());
    }

private:
    std::shared_ptr<WordState> state_;
};

class EngineWordApplication final : public word::Application {
public:
    explicit EngineWordApplication(std::shared_ptr<WordState> state) : state_(std::move(state)), documents_(state_) {}
    ~EngineWordApplication() override = default;

    word::Documents& GetDocuments() override {
        state_->checkRunning();
        return documents_;
    }
    std::shared_ptr<word::Document> ActiveDocument() override {
        state_->checkRunning();
        if (state_->open.empty()) return nullptr;
        return std::make_shared<EngineDocument>(state_, state_->open.back());
    }
    bool Visible() const override {
        state_->checkRunning();
        return state_->visible;
    }
    void SetVisible(bool visible) override {
        state_->checkRunning();
        state_->visible = visible;
    }
    void Quit(int) override {
        state_->checkRunning();
        for (const auto& core : state_->open) core->closed = true;
        state_->open.clear();
        state_->quit = true;
    }

private:
    std::shared_ptr<WordState> state_;
    EngineDocuments documents_;
};

std::shared_ptr<word::Application> EngineDocument::GetApplication() {
    usable();
    return std::make_shared<EngineWordApplication>(state_);
}

}  // namespace

std::shared_ptr<word::Application> createWordApplication() {
    auto state = std::make_shared<WordState>();
    runningWords().add(state);
    return std::make_shared<EngineWordApplication>(state);
}

std::shared_ptr<word::Document> openEmbeddedWordDocument(std::span<const std::uint8_t> bytes, const std::string& name) {
    auto core = std::make_shared<DocumentCore>();
    core->fullPath = name;
    core->name = name;
    core->pages = doc::readWordPages(bytes);
    auto state = runningWords().latest();
    // No Word runs: the activation starts one, which lives while its documents are used.
    if (!state) {
        state = std::make_shared<WordState>();
        runningWords().add(state);
    }
    state->open.push_back(core);
    return std::make_shared<EngineDocument>(state, core);
}

}  // namespace office::engine
