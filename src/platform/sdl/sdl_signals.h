// The signals that ask a program to end (a logout, kill, Ctrl+C, a closed terminal).
#pragma once

// Catches SIGTERM, SIGINT and SIGHUP from now on instead of dying of them.
void catch_end_signals();
// True once after one of them arrived.
bool end_was_asked();
// Whether one arrived that end_was_asked has not yet told of.
bool end_is_asked();
