// The simulated mouse's control language: one text request, one text
// answer. Requests (words separated by spaces, numbers decimal or 0x hex):
//   plug | unplug | press N | release N | report B0 B1 ... (hex bytes)
//   log | clear-log | memory | status
// Answers start with "ok" or "error: <reason>"; log, memory and status
// answer with their data after an "ok" line.
#pragma once

#include <string>

#include "hidsim/SimHidLibrary.h"

std::string ExecuteControlCommand(SimHidLibrary& library, const std::string& request);

// The device memory as text lines "name=value" (byte areas in hex).
std::string DescribeMemory(const SimMemory& memory);
