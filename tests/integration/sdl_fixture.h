// The SDL platform layer on SDL's dummy video driver, in a fresh folder of each test's own.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window.h"

class SdlTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // A window of a class whose procedure records what it is sent, as "kind window wparam lparam".
    WindowHandle make_window(const char* title, int32_t width, int32_t height);
    // Every message the queue hands out now, described as the recording procedure does.
    std::vector<std::string> drain();
    std::string folder, previous;
};

// What the recording procedure was sent, in order.
extern std::vector<std::string> sent;
std::string describe(const Message& message);
