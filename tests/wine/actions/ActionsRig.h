// The installed service with the simulated mouse and the input recorder
// beside it, for the action engine's end-to-end tests and timing tools:
// assignments written into the settings file as the configuration program
// writes them (slot 0, which the service never rewrites, and the active
// profile), buttons pressed through the mouse's control pipe, and what the
// system saw injected read back from the recorder's output.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/wine/harness/ServiceHarness.h"

namespace e2e {

// One line of the input recorder.
struct RecordedInput {
    bool key = false;  // else a mouse event
    unsigned long long t = 0;    // performance counter, microseconds
    unsigned msg = 0;
    unsigned vk = 0;             // key events
    bool extended = false;
    bool up = false;
    int high = 0;                // mouse events: wheel delta or extra button
    unsigned flags = 0;
    bool injected = false;
    unsigned long time = 0;      // the event's own time stamp, milliseconds

    // "key vk=0x41 ext=1 up=0", "mouse msg=0x20a high=120": what a test compares.
    std::string Brief() const;
};

// Parses one recorder line; false for "ready" and anything else.
bool ParseRecordedInput(const std::string& line, RecordedInput& input);

// inputrecorder.exe writing into a file, until stopped.
class InputRecorder {
public:
    ~InputRecorder() { Stop(); }
    // Starts the recorder from `folder` and waits for its "ready" line.
    bool Start(const std::wstring& folder);
    void Stop();
    // The injected events recorded so far.
    std::vector<RecordedInput> Injected() const;
    // Waits until at least `count` injected events are there.
    bool WaitForInjected(std::size_t count, DWORD timeoutMs) const;
    // Waits until no new injected event has come for `quietMs`; the events then.
    std::vector<RecordedInput> WaitUntilQuiet(DWORD quietMs, DWORD timeoutMs) const;

private:
    Process process_;
    std::wstring out_;
    std::wstring stopName_;
};

// One button of slot 0 as the configuration program stores it. `button` is
// the index 0 to 9; `macro` holds the 3-byte events (the rest of the 240
// bytes is zero).
struct Assignment {
    Assignment(int button_, int function_, int buttonId_ = 0, int keyNumber_ = 0,
               std::vector<std::uint8_t> macro_ = {}, std::wstring path_ = L"")
        : button(button_), function(function_), buttonId(buttonId_), keyNumber(keyNumber_),
          macro(std::move(macro_)), path(std::move(path_)) {}
    int button = 0;
    int function = 255;
    int buttonId = 0;
    int keyNumber = 0;
    std::vector<std::uint8_t> macro;
    std::wstring path;
};

// A macro event: press or release of a key code, then `delay` 20 ms units.
std::vector<std::uint8_t> MacroEvent(bool press, int delay, std::uint8_t key);

// A fresh installation copy, the data folder with the installed settings
// file and slot 0's assignments, the simulated mouse's pipe and log of this
// process, and the recorder. Closes everything it started.
class ActionsRig {
public:
    ActionsRig();
    ~ActionsRig();

    // Writes the assignments into the settings file (Profile 0 active).
    void Assign(const std::vector<Assignment>& assignments);
    // Starts the recorder, then the service, and waits for its start-up.
    bool Start(bool mousePlugged = true);
    bool StartRecorder();
    bool StartService(bool mousePlugged = true);
    // Whether the service's window answers within `timeoutMs`.
    bool Answers(DWORD timeoutMs) const;
    // Posts WM_CLOSE and waits for a clean end (exit code 0).
    bool CloseService();

    // One request over the mouse's control pipe; true for an "ok" answer.
    bool Control(const std::string& request) const;
    bool Press(int button) const { return Control("press " + std::to_string(button)); }
    bool Release(int button) const { return Control("release " + std::to_string(button)); }

    const std::wstring& Folder() const { return folder_; }
    const std::wstring& MouseLog() const { return mouseLog_; }
    InputRecorder& Recorder() { return recorder_; }
    RunningService& Service() { return service_; }

private:
    std::wstring folder_;
    std::wstring mouseLog_;
    std::wstring pipe_;
    InputRecorder recorder_;
    RunningService service_;
};

// The performance counter in microseconds, as the recorder stamps its lines.
unsigned long long MicrosecondsNow();

}  // namespace e2e
