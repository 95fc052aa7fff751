// Plays a button's recorded macro: each event becomes a key or mouse-button
// press or release, followed by its delay. Each event is due its delay after
// the previous event's due time, so small late wake-ups never add up to
// drift; an event that went out later than a tolerance moves the rest of the
// pass, so a stall never turns into a burst. A delay of 0 still gives up the
// processor once.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "config/SettingsRecords.h"

using MacroData = std::array<std::uint8_t, kButtonDataSize>;

// Shared by the dispatcher and the macro worker. 0 when no repeating macro
// is wanted; during a repeat-until-pressed request 1 means go on and 0 stop,
// during a repeat-while-held request 1 means stop.
extern std::atomic<int> MacroRunFlag;

// Where the player takes a button's macro from.
class MacroSource {
public:
    // A copy of ButtonData of button `button` (0 to 9) of the active profile,
    // WorkingSettings.Profiles[WorkingSettings.Profile].Buttons[button].
    virtual MacroData ActiveMacroData(int button) = 0;

protected:
    ~MacroSource() = default;
};

constexpr std::uint64_t kMacroDelayUnitMicroseconds = 20000;  // one delay step, 20 ms
// An event that goes out later than this after its due time (the machine
// stalled) moves the rest of its pass by its lateness, so no gap comes out
// shorter than recorded by more than this; smaller lateness does not add up.
constexpr std::uint64_t kMacroLatenessToleranceMicroseconds = 1000;
constexpr std::uint64_t kMacroPassPauseMicroseconds = 50000;  // between repeated passes
constexpr std::uint8_t kMacroKeyLeftButton = 0xB7;
constexpr std::uint8_t kMacroKeyRightButton = 0xB8;
constexpr std::uint8_t kMacroKeyMiddleButton = 0xB9;

// Events before the first whose key code is 0, at most 80.
std::size_t CountMacroEvents(const MacroData& data);

// Plays the events of `data` from the due time `start` (microseconds of
// Sys().Clock); returns the due time at which the pass ends, after the last
// event's delay.
std::uint64_t PlayMacroEvents(const MacroData& data, std::uint64_t start);

// One pass of the macro of button `button` of the active profile, starting at
// `start`; the macro is copied at the start of the pass. Returns the pass's
// end, or `start` itself for a button index outside 0 to 9 (nothing played).
std::uint64_t PlayMacroPassFrom(MacroSource& source, int button, std::uint64_t start);

// One pass starting now. False without playing for an index outside 0 to 9.
bool PlayMacro(MacroSource& source, int button);

// `passes` passes back to back, each starting when the one before it ends.
void PlayMacroPasses(MacroSource& source, int button, int passes);
