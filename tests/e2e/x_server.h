// A private X server (Xvfb) for one test, on a display number it picks itself.
#pragma once

#include <sys/types.h>

#include <string>

struct XServer {
    pid_t pid = -1;
    std::string display; // ":N"
};

// The screen every test runs on.
constexpr int screen_width = 1024;
constexpr int screen_height = 768;

// Starts Xvfb and waits until it accepts clients; on failure says why in *problem.
bool start_x_server(XServer* server, const std::string& log_path, std::string* problem);

// Ends the server, if it runs.
void stop_x_server(XServer* server);
