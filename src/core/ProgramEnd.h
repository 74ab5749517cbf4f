#pragma once
// "The program ends at once": thrown from anywhere, it unwinds every handler
// and modal window up to the program's entry, which then returns. It is not a
// std::exception, so handlers that catch errors never swallow it.

namespace core {

struct ProgramEnded {};

[[noreturn]] inline void EndProgram() { throw ProgramEnded{}; }

}  // namespace core
