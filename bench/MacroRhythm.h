// How on time a played macro was, from the times its events went out. Shared
// by the host benchmark and the benchmark under Wine, so both report the
// same figures.
//
// An event is due its recorded delay after the one before it: after the
// previous event's due time, or after the moment that event went out when it
// went out more than the player's tolerance late (the player then moves the
// rest of the pass, so small lateness does not add up and a stall does not
// turn into a burst). The first event of the run is due when it went out.
// No event can go out before the injection before it has returned: an event
// due earlier than that (a delay of 0 after a slow call) is measured from
// the call's end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/TimingStats.h"

struct MacroEventTimes {
    std::int64_t delayAfter = 0;  // recorded delay before the next event, microseconds
    std::int64_t callMade = 0;    // the player's clock when it made the injection call
    std::int64_t callEnded = 0;   // the player's clock when the call returned
    std::int64_t delivered = 0;   // the system's stamp (the input recorder), same clock
};

struct MacroRhythm {
    std::vector<std::int64_t> lateAtCall;       // call made - due time (or the previous call's end)
    std::vector<std::int64_t> lateDelivered;    // delivered - the same
    std::vector<std::int64_t> callToDelivered;  // delivered - call made
    std::vector<std::int64_t> gapShortAtCall;   // recorded gap - gap between calls
    std::vector<std::int64_t> gapShortDelivered;
};

// `tolerance`: the lateness the player lets stand (microseconds). Events
// without a delivery stamp (0) count only on the player's side.
inline MacroRhythm MeasureMacroRhythm(const std::vector<MacroEventTimes>& events, std::int64_t tolerance) {
    MacroRhythm rhythm;
    std::int64_t due = events.empty() ? 0 : events.front().callMade;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const MacroEventTimes& event = events[i];
        const std::int64_t possible = i > 0 && events[i - 1].callEnded > due ? events[i - 1].callEnded : due;
        rhythm.lateAtCall.push_back(event.callMade - possible);
        if (event.delivered != 0) {
            rhythm.lateDelivered.push_back(event.delivered - possible);
            rhythm.callToDelivered.push_back(event.delivered - event.callMade);
        }
        if (i > 0) {
            const MacroEventTimes& previous = events[i - 1];
            rhythm.gapShortAtCall.push_back(previous.delayAfter - (event.callMade - previous.callMade));
            if (event.delivered != 0 && previous.delivered != 0)
                rhythm.gapShortDelivered.push_back(previous.delayAfter - (event.delivered - previous.delivered));
        }
        if (event.callEnded > due + tolerance) due = event.callEnded;
        due += event.delayAfter;
    }
    return rhythm;
}

// How many of `samples` exceed `limit`.
inline std::size_t CountAbove(const std::vector<std::int64_t>& samples, std::int64_t limit) {
    std::size_t count = 0;
    for (std::int64_t sample : samples)
        if (sample > limit) ++count;
    return count;
}
