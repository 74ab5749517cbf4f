#pragma once
// Model code runs from Qt's signals and events, and its handlers may throw
// (core::ProgramEnded, automation errors, anything). An exception must never
// cross Qt's event loop, so every call into the model goes through run(): an
// exception is kept, the innermost event loop of ours ends, and the function
// that started that loop rethrows it once the loop has returned. Nested
// modal windows unwind one after another this way, up to the caller of the
// outermost one.
#include <QEventLoop>
#include <exception>
#include <functional>
#include <vector>

namespace ui::qt {

class HandlerGuard {
public:
    // Runs model code. While an exception is waiting to be rethrown no more
    // model code runs: the program is unwinding.
    template <class Call>
    void run(Call&& call) noexcept {
        if (pending_ || quiet_ > 0) return;
        try {
            call();
        } catch (...) {
            keep(std::current_exception());
        }
    }

    bool unwinding() const { return static_cast<bool>(pending_); }

    // While one lives, Qt's events reach no model code: a window taken down
    // while an exception passes must not start handlers on the way.
    class Quiet {
    public:
        explicit Quiet(HandlerGuard& guard) : guard_(guard) { ++guard_.quiet_; }
        ~Quiet() { --guard_.quiet_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        HandlerGuard& guard_;
    };

    // Runs `loop` while `keepRunning` holds (checked once, before it starts;
    // whoever ends the reason to run quits the loop), then rethrows an
    // exception kept meanwhile.
    void exec(QEventLoop& loop, const std::function<bool()>& keepRunning);
    // Lets pending events run, then rethrows an exception kept meanwhile.
    void processEvents();
    // Rethrows a kept exception (after a loop that is not ours returned).
    void rethrowPending();

private:
    void keep(std::exception_ptr error);

    std::exception_ptr pending_;
    int quiet_ = 0;
    // Our running loops, innermost last; nullptr for a processEvents() call.
    std::vector<QEventLoop*> loops_;
};

}  // namespace ui::qt
