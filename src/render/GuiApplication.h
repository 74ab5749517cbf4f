#pragma once
// Qt draws only with an application object. The program makes its own
// QApplication first; a caller without one (a batch run, a test program)
// gets one here, made once and kept for the life of the process.

namespace render {

// Makes sure a QApplication exists, on the offscreen platform when the
// process has no display. Raises AutomationError 1004 when the process holds
// a Qt application object that cannot draw widgets (a QCoreApplication or a
// bare QGuiApplication): Qt Charts draws through the graphics view.
void ensureGuiApplication();

}  // namespace render
