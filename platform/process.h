// Running another program of the system and waiting for its end.
//
// Any thread may call RunQuietly; the caller logs the failure it returns once.
#pragma once

#include <string>
#include <vector>

// Runs `arguments` (the first is the program, looked up in PATH; no shell)
// with its standard output and error thrown away and waits for it to end.
// True with its exit code in `exit_code` (-1 when it did not exit normally);
// false with the failing call and the system's error in `error` when it
// could not be started or waited for.
bool RunQuietly(const std::vector<std::string>& arguments, int& exit_code, std::string& error);
