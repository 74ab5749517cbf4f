#include "app/OutsideProgram.h"

#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace app {

namespace {

std::string lastLines(const QByteArray& output, int lines) {
    QList<QByteArray> all = output.trimmed().split('\n');
    while (all.size() > lines) all.removeFirst();
    return all.join('\n').toStdString();
}

}  // namespace

ProgramRun RunOutsideProgram(const std::string& program, const std::vector<std::string>& arguments,
                             std::chrono::milliseconds timeLimit, const std::atomic<bool>* cancel) {
    ProgramRun run;
    QProcess process;
    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    process.setProgram(QString::fromStdString(program));
    process.setArguments(list);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    // A session of its own: its helpers share its process group, ended with it.
    process.setChildProcessModifier([] { ::setsid(); });
    process.start();
    if (!process.waitForStarted(10000)) return run;
    run.started = true;
    const qint64 group = process.processId();
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    bool finished = false;
    while (!finished && std::chrono::steady_clock::now() < deadline && !(cancel && *cancel))
        finished = process.waitForFinished(100) || process.state() == QProcess::NotRunning;
    if (!finished) {
        run.cancelled = cancel && *cancel;
        run.timedOut = !run.cancelled;
        if (group > 0) ::kill(static_cast<pid_t>(-group), SIGKILL);
        process.kill();
        process.waitForFinished(5000);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    // Helpers left behind by a program that ended normally go too.
    if (group > 0) ::kill(static_cast<pid_t>(-group), SIGKILL);
    run.errorOutput = lastLines(process.readAllStandardError(), 4);
    return run;
}

std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
}

}  // namespace app
