// Waiting for a condition by asking again and again until a deadline.
#pragma once

#include <chrono>
#include <thread>

// Calls check until it returns true or the limit has passed; true when it did.
template <typename Check>
bool poll_until(std::chrono::milliseconds limit, std::chrono::milliseconds interval, Check check) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (check())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(interval);
    }
}

inline void pause_for(std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
}
