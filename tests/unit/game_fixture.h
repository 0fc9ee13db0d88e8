// A test fixture that runs each test in a fresh working directory with the fake platform and
// every global of the game back at its program-load value.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/window.h"
#include "tests/fake/fake_platform.h"

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the start-up against the fake platform and makes the program active.
    void start_game();
    // Delivers a message to the main window the way the main loop would.
    void send_to_main(MessageKind kind, uint32_t wparam = 0, uint32_t lparam = 0);
    void press_and_release(uint32_t virtual_key);
    // The bytes of a file in the working directory; empty when missing.
    std::vector<uint8_t> file_bytes(const std::string& name) const;
    void write_file(const std::string& name, const std::vector<uint8_t>& bytes) const;

    std::filesystem::path directory;

  private:
    std::filesystem::path previous_directory;
};

// Sets every global of the game to its value at program load.
void reset_game_globals();
