// How a simulated mouse behaves, as one declarative record. A test copies
// the default and changes one field to force one error path:
//
//   SimMouseConfig config;
//   config.AnswersReadBack = false;   // the four answers never come
//   SimulatedMouse mouse{fake, config};
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

// What the mouse answers.
struct SimMouseAnswers {
    bool AnswersProbe = true;     // reply to the probe says a mouse is there
    bool ReadBackReady = true;    // reply to the read-back query says a table is held
    bool AnswersReadBack = true;  // a read-back request brings its four answers
};

struct SimMouseConfig {
    bool Plugged = true;
    SimMouseAnswers Answers;
    // The libraries beside the service (host build: the fake's modules).
    bool HidDeviceLibrary = true;
    bool HidApiLibrary = true;
    std::vector<WORD> MissingOrdinals;             // HidDevice.dll exports left out
    std::vector<std::string> MissingHidApiEntries;  // HIDApi.dll names left out
};

inline SimMouseConfig UnpluggedMouse() {
    SimMouseConfig config;
    config.Plugged = false;
    return config;
}
