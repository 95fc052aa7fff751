// Which profile the program in the foreground selects: plain rules over
// the settings in memory.
#pragma once

#include "config/SettingsRecords.h"
#include "contract/Names.h"
#include "platform/Text.h"

// Only these profile slots take part; 0 and 5 never do.
constexpr int kFirstWatchedProfile = 1;
constexpr int kLastWatchedProfile = 4;
constexpr int kNoProfile = -1;

// File names compare without regard to case (EqualsIgnoringCase).

// The part of a path after its last backslash or slash.
Text FileNameOfPath(const Text& path);

// The first of slots 1 to 4 whose Launch names the program, ignoring case;
// kNoProfile when none does or when the program is the service itself.
int ProfileForProgram(const ServiceSettings& settings, const Text& exeFileName);

// The profile to make active for the program in the foreground: the matched
// slot when it is not already active, else kNoProfile (nothing changes; in
// particular nothing goes back to an earlier profile).
int ProfileSwitchForProgram(const ServiceSettings& settings, const Text& exeFileName);
