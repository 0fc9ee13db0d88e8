// Child processes of the tests: the X server, the game and the command-line tools.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

using Milliseconds = std::chrono::milliseconds;

// How a child ended, or that it had not ended when we stopped waiting.
struct ChildEnd {
    bool ended = false;
    bool exited = false; // ended through exit(); otherwise a signal ended it
    int exit_status = 0;
    int signal = 0;
};

struct ChildOptions {
    std::string working_dir;              // empty: the test's own
    std::vector<std::string> environment; // NAME=value pairs added to the test's environment
    std::vector<std::string> unset;       // names taken out of the test's environment
    std::string log_path;                 // standard output and error; empty: /dev/null and ours
    int output_fd = -1;                   // standard output goes here instead
    int inherited_fd = -1;                // one descriptor that stays open across exec
};

// Starts argv[0] (looked up on PATH); -1 when it could not be started.
pid_t start_child(const std::vector<std::string>& argv, const ChildOptions& options);
// Waits up to the limit for the child to end; a child that ended is reaped.
ChildEnd wait_for_child(pid_t pid, Milliseconds limit);
// Kills the child and reaps it.
ChildEnd kill_child(pid_t pid);

struct CommandResult {
    ChildEnd end;
    std::string output; // what it wrote on its standard output
};

// Runs a command to its end with the NAME=value pairs added to its environment; killed after
// the limit (and reported as still running).
CommandResult run_command(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment, Milliseconds limit);

bool exited_with_zero(const ChildEnd& end);
// "exit status 3", "killed by signal 9", "still running".
std::string describe(const ChildEnd& end);
