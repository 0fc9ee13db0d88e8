// The SDL platform's message queue, for the window code's own news.
#pragma once

#include "platform/window.h"

// A recorded game is being watched (set_watching).
bool watching_only();

// Queues a message for the window's procedure, behind the events already translated.
void post_message(WindowHandle window, MessageKind kind, uint32_t wparam, uint32_t lparam);
