// Starting, waiting for and killing child processes with fork and exec.
#include "tests/e2e/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// In the child after fork: only async-signal-safe work and exec, then _exit on failure.
[[noreturn]] void exec_in_child(const std::vector<std::string>& argv,
                                const std::vector<std::string>& environment,
                                const std::vector<std::string>& unset = {}) {
    for (const std::string& name : unset)
        unsetenv(name.c_str());
    for (const std::string& entry : environment) {
        const size_t equals = entry.find('=');
        if (equals != std::string::npos)
            setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

ChildEnd decode(int status) {
    ChildEnd end;
    end.ended = true;
    end.exited = WIFEXITED(status);
    end.exit_status = end.exited ? WEXITSTATUS(status) : 0;
    end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return end;
}

} // namespace

pid_t start_child(const std::vector<std::string>& argv, const ChildOptions& options) {
    if (argv.empty())
        return -1;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    if (!options.working_dir.empty() && chdir(options.working_dir.c_str()) != 0)
        _exit(126);
    const char* log = options.log_path.empty() ? "/dev/null" : options.log_path.c_str();
    const int log_fd = open(log, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log_fd >= 0) {
        dup2(log_fd, STDOUT_FILENO);
        dup2(log_fd, STDERR_FILENO);
        close(log_fd);
    }
    const int null_fd = open("/dev/null", O_RDONLY);
    if (null_fd >= 0) {
        dup2(null_fd, STDIN_FILENO);
        close(null_fd);
    }
    if (options.inherited_fd >= 0)
        fcntl(options.inherited_fd, F_SETFD, 0);
    // A session of its own, so that a test's Ctrl-C does not reach the X server first; and
    // an end when the test's process ends, however it ends (a time-out kills it, say), so that
    // no X server or game is left behind.
    setsid();
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(125);
    exec_in_child(argv, options.environment, options.unset);
}

ChildEnd wait_for_child(pid_t pid, Milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return decode(status);
        if (done < 0)
            return ChildEnd{.ended = true, .exited = false, .exit_status = 0, .signal = 0};
        if (Clock::now() >= deadline)
            return ChildEnd{};
        std::this_thread::sleep_for(Milliseconds(10));
    }
}

ChildEnd kill_child(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    if (waitpid(pid, &status, 0) == pid)
        return decode(status);
    return ChildEnd{.ended = true, .exited = false, .exit_status = 0, .signal = SIGKILL};
}

CommandResult run_command(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment, Milliseconds limit) {
    CommandResult result;
    int fds[2];
    if (argv.empty() || pipe2(fds, O_CLOEXEC) != 0)
        return result;
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        const int null_fd = open("/dev/null", O_RDONLY);
        if (null_fd >= 0)
            dup2(null_fd, STDIN_FILENO);
        exec_in_child(argv, environment);
    }
    close(fds[1]);
    const auto deadline = Clock::now() + limit;
    char buffer[65536];
    bool timed_out = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timed_out = true;
            break;
        }
        pollfd entry{fds[0], POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(left)) <= 0)
            continue; // a timeout shows on the next round; an interrupted poll simply retries
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.output.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (timed_out) {
        result.end = kill_child(pid);
        result.end.ended = false;
        return result;
    }
    const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
    result.end = wait_for_child(pid, left < Milliseconds(100) ? Milliseconds(100) : left);
    if (!result.end.ended)
        kill_child(pid);
    return result;
}

std::string describe(const ChildEnd& end) {
    if (!end.ended)
        return "still running";
    if (end.exited)
        return "exit status " + std::to_string(end.exit_status);
    return "killed by signal " + std::to_string(end.signal);
}
