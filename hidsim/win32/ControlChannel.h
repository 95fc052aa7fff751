// The named pipe of the simulated mouse's control channel. Its name is
// "\\.\pipe\HidSimMouse", or the value of the environment variable
// HIDSIM_PIPE when that is set (for test runs side by side).
#pragma once

#include <string>

std::wstring ControlPipeName();

// One request and its answer. False when no simulated mouse listens.
bool CallControlPipe(const std::string& request, std::string& answer);
