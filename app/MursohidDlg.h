// The service's one hidden top-level window. It owns all run-time state
// (the settings store, the device session, the registry key holder, the
// worker thread) and runs the start-up sequence when it is created and the
// shut-down sequence when it is destroyed. Its handlers are short; the work
// lives in the subsystems.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/CWnd.h"

class DeviceSession;
class SettingsStore;

class CMursohidDlg : public CWnd {
public:
    CMursohidDlg();
    ~CMursohidDlg() override;

    // Creates the hidden window; the start-up sequence runs inside.
    BOOL CreateServiceWindow();

    // --- operations other parts of the service call ---
    void LaunchTrayProgram();
    // Reloads WorkingSettings from the settings file, validated.
    void ReloadSettings();
    // Sends report-rate index r to the mouse and, when it was there, keeps
    // it as PollingRate in the settings file.
    std::int32_t SetPollingRate(std::int32_t rateIndex);
    // One input report from the library's thread.
    void HandleInputReport(DWORD identifier, const BYTE* report, DWORD length);
    // Asks the tray program to close.
    void CloseTrayProgram();
    // Tells the configuration program that the mouse was removed.
    void NotifyMouseRemoved();
    // Makes profile `profile` active in memory and in the settings file and
    // tells the configuration program; nothing is sent to the mouse.
    void SetActiveProfile(int profile);
    // Makes the profile named for the foreground program active, if any.
    void WatchForeground();
    // The macro worker thread's loop; returns when the thread's queue ends.
    int RunMacroWorker();

    SettingsStore& Settings();
    DeviceSession& Device();

protected:
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // --- handlers ---
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The action engine's timers (volume repeat, Tab tap); others go on.
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The library's collection notification: the list is kept up to date,
    // then the message goes on to default processing.
    LRESULT OnDeviceNotification(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // Control messages of the configuration programs (ControlMessages.cpp).
    LRESULT OnReadStage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetPollingRate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetLiftOff(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnWriteStages(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetStateByte(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetLogoLight(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetUniversalScroll(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnNoAction(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnReloadSettings(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDeviceChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // 0x672: the settings read back from the mouse become the user's (ReadBack.cpp).
    LRESULT OnAdoptDeviceImage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // 0x7EB: the mouse arrived or was removed (DeviceArrival.cpp).
    LRESULT OnMouseData(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The user's console connected or disconnected (ConsoleSession.cpp).
    LRESULT OnSessionChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // 0x4DE: the whole active profile into the mouse behind the progress
    // dialog, then 0x4E1 to the configuration program.
    LRESULT OnFullWrite(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    // --- pieces of the handlers ---
    // Posts to a sibling program's window found by its title; dropped when absent.
    void PostToSibling(const char16_t* title, UINT message, WPARAM wParam);
    // Opens the mouse for a caller that writes "Plug" and starts the tray
    // program itself: the notifications of this open only keep the list.
    std::int32_t OpenDeviceWithOwnReactions();
    // One tick of the read-back chain, and its end (ReadBack.cpp).
    bool HandleReadBackTimer(UINT_PTR timerId);
    void FinishReadBack();
    // The foreground watch on the system's foreground events (ForegroundWatch.cpp).
    void StartForegroundEvents();
    void StopForegroundEvents();
    static const MessageMapEntry<CMursohidDlg> kMessageMap[];

    struct State;
    std::unique_ptr<State> state_;
};
