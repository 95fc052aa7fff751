// The simulated mouse's memory, as its control channel answers "memory"
// (lines "name=value", byte areas in hex), turned into lines a person reads:
// stage values in decimal, each button's code with the function it stands
// for, and the macro blocks that hold something as macro events.
#pragma once

#include <string>

// False with a message in `error` when the answer lacks a field or a field
// is not what the channel sends.
bool DescribeMouseMemory(const std::string& answer, std::string& text, std::string& error);
