// The foreground watch: every tick of timer 1, and at once on each of the
// system's foreground events, the program that owns the foreground window
// selects the profile whose Launch names it.
#pragma once

#include "framework/MessageMap.h"

class SettingsStore;
class WriteGate;

class ForegroundWatch {
public:
    explicit ForegroundWatch(SettingsStore& settings) : settings_(settings) {}

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Arms timer 1 on `window` and hooks the system's foreground events;
    // an event during a full write waits in `gate` (may be null).
    void Start(HWND window, WriteGate* gate = nullptr);
    // Unhooks the events; the timer goes with the window.
    void Stop();

    // Makes the profile named for the foreground program active, if any.
    void Watch();
    // Makes profile `profile` active in memory and in the settings file and
    // tells the configuration program; nothing is sent to the mouse.
    void SetActiveProfile(int profile);

private:
    // Timer 1; every tick then goes on to default processing.
    void OnTimer(UINT_PTR id, BOOL& handled);
    static const MessageMapEntry<ForegroundWatch> kMessageMap[];

    SettingsStore& settings_;
    // The system's foreground events, while the window exists.
    HANDLE hook_ = nullptr;
    WriteGate* gate_ = nullptr;
};
