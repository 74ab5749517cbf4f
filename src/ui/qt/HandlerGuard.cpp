#include "ui/qt/HandlerGuard.h"

#include <QCoreApplication>
#include <utility>

namespace ui::qt {

namespace {
struct LoopFrame {
    std::vector<QEventLoop*>& loops;
    LoopFrame(std::vector<QEventLoop*>& loops, QEventLoop* loop) : loops(loops) { loops.push_back(loop); }
    ~LoopFrame() { loops.pop_back(); }
    LoopFrame(const LoopFrame&) = delete;
    LoopFrame& operator=(const LoopFrame&) = delete;
};
}  // namespace

void HandlerGuard::keep(std::exception_ptr error) {
    if (!pending_) pending_ = std::move(error);
    // Inside processEvents() there is no loop of ours to end: doEvents()
    // rethrows as soon as the pending events have run.
    if (!loops_.empty() && loops_.back()) loops_.back()->quit();
}

void HandlerGuard::exec(QEventLoop& loop, const std::function<bool()>& keepRunning) {
    {
        LoopFrame frame(loops_, &loop);
        if (!pending_ && keepRunning()) loop.exec();
    }
    rethrowPending();
}

void HandlerGuard::processEvents() {
    {
        LoopFrame frame(loops_, nullptr);
        QCoreApplication::processEvents();
    }
    rethrowPending();
}

void HandlerGuard::rethrowPending() {
    if (!pending_) return;
    std::rethrow_exception(std::exchange(pending_, nullptr));
}

}  // namespace ui::qt
