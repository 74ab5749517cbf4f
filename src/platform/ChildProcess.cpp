#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace platform {

namespace {

std::vector<char*> ArgvOf(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

// Closes every descriptor from 3 up except `keep`, so that the started
// program holds none of our files (a lock on the data folder among them).
// Only system calls: this runs between fork and exec.
void CloseInheritedFiles(int keep) {
    if (keep > 3 && close_range(3, static_cast<unsigned>(keep) - 1, 0) == 0 &&
        close_range(static_cast<unsigned>(keep) + 1, ~0U, 0) == 0)
        return;
    if (keep == 3 && close_range(4, ~0U, 0) == 0) return;
    long limit = sysconf(_SC_OPEN_MAX);
    if (limit < 0 || limit > 65536) limit = 65536;
    for (int fd = 3; fd < limit; ++fd)
        if (fd != keep) close(fd);
}

}  // namespace

std::optional<std::string> CaptureOutput(const std::vector<std::string>& args) {
    if (args.empty()) return std::nullopt;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv = ArgvOf(args);
    pid_t pid = 0;
    int spawnError = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);

    std::string output;
    if (spawnError == 0) {
        char buffer[4096];
        for (;;) {
            ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n > 0) output.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR) break;
        }
    }
    close(pipeFds[0]);
    if (spawnError != 0) return std::nullopt;
    int status = WaitFor(pid);
    if (status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

bool StartDetached(const std::vector<std::string>& args) { return StartDetached(args, -1); }

bool StartDetached(const std::vector<std::string>& args, int standardInput) {
    if (args.empty()) return false;
    // Everything the children need is prepared before forking: after fork
    // only system calls run.
    std::vector<char*> argv = ArgvOf(args);
    // A child writes its errno here when its fork or exec fails; a successful
    // exec closes the pipe (close-on-exec) and the parent reads nothing.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;

    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild < 0) {
            int err = errno;
            ssize_t ignored = write(report[1], &err, sizeof err);
            (void)ignored;
            _exit(1);
        }
        if (grandchild > 0) _exit(0);
        int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(standardInput >= 0 ? standardInput : devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
        }
        CloseInheritedFiles(report[1]);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execvp(argv[0], argv.data());
        int err = errno;
        ssize_t ignored = write(report[1], &err, sizeof err);
        (void)ignored;
        _exit(127);
    }

    close(report[1]);
    // The middle process ends at once; reaping it leaves no zombie, and the
    // grandchild now belongs to init. Its exit status is not needed: the
    // report pipe tells whether the program started.
    WaitFor(child);
    int execError = 0;
    ssize_t n = 0;
    do {
        n = read(report[0], &execError, sizeof execError);
    } while (n < 0 && errno == EINTR);
    close(report[0]);
    return n == 0;
}

}  // namespace platform
