// Xvfb started with -displayfd, which writes the display number it found free once it listens.
#include "tests/e2e/x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include "tests/e2e/child_process.h"

namespace {

// Reads the newline-terminated display number; empty on timeout or end of file.
std::string read_display_number(int fd) {
    std::string text;
    char buffer[32];
    pollfd entry{fd, POLLIN, 0};
    while (text.find('\n') == std::string::npos) {
        if (poll(&entry, 1, 15000) <= 0)
            return {};
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return {};
        text.append(buffer, static_cast<size_t>(n));
    }
    return text.substr(0, text.find('\n'));
}

} // namespace

bool start_x_server(XServer* server, const std::string& log_path, std::string* problem) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        *problem = "cannot make a pipe for Xvfb";
        return false;
    }
    // -noreset: without it the server resets when its last client leaves, which moves the
    // pointer back to the middle of the screen between two xdotool calls.
    const std::string size =
        std::to_string(screen_width) + "x" + std::to_string(screen_height) + "x24";
    ChildOptions options;
    options.log_path = log_path;
    options.inherited_fd = fds[1];
    server->pid = start_child({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", size,
                               "-noreset", "-nolisten", "tcp"},
                              options);
    close(fds[1]);
    const std::string number = server->pid < 0 ? "" : read_display_number(fds[0]);
    close(fds[0]);
    if (number.empty()) {
        *problem = server->pid < 0 ? "cannot start Xvfb"
                                   : "Xvfb gave no display number (" +
                                         describe(wait_for_child(server->pid, Milliseconds(0))) +
                                         "); see " + log_path;
        stop_x_server(server);
        return false;
    }
    server->display = ":" + number;
    return true;
}

void stop_x_server(XServer* server) {
    if (server->pid <= 0)
        return;
    kill(server->pid, SIGTERM);
    if (!wait_for_child(server->pid, Milliseconds(3000)).ended)
        kill_child(server->pid);
    server->pid = -1;
}
