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

ChildEnd decode(int status) {
    return {true, WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : 0,
            WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

Milliseconds left_until(Clock::time_point deadline) {
    return std::chrono::duration_cast<Milliseconds>(deadline - Clock::now());
}

} // namespace

pid_t start_child(const std::vector<std::string>& argv, const ChildOptions& options) {
    if (argv.empty())
        return -1;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // In the child: no more than setting up descriptors and environment, then exec or _exit.
    if (!options.working_dir.empty() && chdir(options.working_dir.c_str()) != 0)
        _exit(126);
    const int null_fd = open("/dev/null", O_RDWR);
    const int log_fd = options.log_path.empty()
                           ? -1
                           : open(options.log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(null_fd, STDIN_FILENO);
    dup2(options.output_fd >= 0 ? options.output_fd
         : log_fd >= 0          ? log_fd
                                : null_fd,
         STDOUT_FILENO);
    if (log_fd >= 0)
        dup2(log_fd, STDERR_FILENO);
    if (options.inherited_fd >= 0)
        fcntl(options.inherited_fd, F_SETFD, 0);
    // A session of its own, so that a test's Ctrl-C does not reach the X server first; and
    // an end when the test's process ends, however it ends (a time-out kills it, say), so that
    // no X server or game is left behind.
    setsid();
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(125);
    for (const std::string& name : options.unset)
        unsetenv(name.c_str());
    for (const std::string& entry : options.environment)
        if (const size_t equals = entry.find('='); equals != std::string::npos)
            setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

ChildEnd wait_for_child(pid_t pid, Milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return decode(status);
        if (done < 0)
            return ChildEnd{.ended = true};
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
    return ChildEnd{.ended = true, .signal = SIGKILL};
}

CommandResult run_command(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment, Milliseconds limit) {
    CommandResult result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return result;
    ChildOptions options;
    options.environment = environment;
    options.output_fd = fds[1];
    const pid_t pid = start_child(argv, options);
    close(fds[1]);
    const auto deadline = Clock::now() + limit;
    char buffer[65536];
    while (pid >= 0 && left_until(deadline).count() > 0) {
        pollfd entry{fds[0], POLLIN, 0};
        // A timeout shows on the next round; an interrupted poll simply retries.
        if (poll(&entry, 1, static_cast<int>(left_until(deadline).count())) <= 0)
            continue;
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.output.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (pid < 0)
        return result;
    result.end = wait_for_child(pid, std::max(left_until(deadline), Milliseconds(100)));
    if (!result.end.ended)
        kill_child(pid);
    return result;
}

bool exited_with_zero(const ChildEnd& end) {
    return end.ended && end.exited && end.exit_status == 0;
}

std::string describe(const ChildEnd& end) {
    if (!end.ended)
        return "still running";
    if (end.exited)
        return "exit status " + std::to_string(end.exit_status);
    return "killed by signal " + std::to_string(end.signal);
}
