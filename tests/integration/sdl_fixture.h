// Runs the SDL platform layer on SDL's dummy video driver; each test runs in its own process.
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

    // Registers a class whose procedure records every message, and makes a window of it.
    WindowHandle make_recording_window(const char* title, int32_t width, int32_t height);
    // Every message the queue hands out now.
    std::vector<Message> drain();
};

// What the recording procedure was sent, in order.
extern std::vector<Message> sent_messages;

// SDL's id of a window the platform made.
uint32_t sdl_window_id(WindowHandle window);
