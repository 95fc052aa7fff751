// What the mouse's buttons do on the PC: the action engine wired to the
// settings store, the device session and this window, the macro worker
// thread, and the main window's timers that repeat a button's effect.
#pragma once

#include "actions/PlatformWindowQueries.h"
#include "app/ButtonRoutes.h"
#include "app/MainWindowActions.h"
#include "app/ScrollingBridge.h"
#include "framework/MessageMap.h"
#include "platform/Kernel.h"

class ButtonInput {
public:
    ButtonInput(SettingsStore& settings, DeviceSession& device) : actions_(settings, device) {}
    ~ButtonInput();
    ButtonInput(const ButtonInput&) = delete;
    ButtonInput& operator=(const ButtonInput&) = delete;

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Binds the engine to `window` and starts the macro worker thread on
    // `worker` with `parameter`; the routine ends in RunMacroWorker.
    void Start(HWND window, ThreadRoutine worker, void* parameter);
    // The mouse went, or the service stops: every repeat stops, then every
    // key and mouse button the service holds down goes up. Main thread.
    void EndEverythingHeld();
    // The service stops: everything held ends and the macro worker thread
    // ends and is waited for. Main thread, once the input thread is stopped.
    void Stop();
    // Where input reports send what they ask for.
    InputRoutes& Routes() { return routes_; }
    // The macro worker thread's loop; returns when the thread's queue ends.
    int RunMacroWorker();

private:
    // The action engine's timers (volume repeat, Tab tap); others go on.
    void OnTimer(UINT_PTR id, BOOL& handled);
    static const MessageMapEntry<ButtonInput> kMessageMap[];

    MainWindowActions actions_;
    PlatformWindowQueries windows_;
    ScrollingBridge scrolling_;
    ButtonRoutes routes_{actions_, windows_};
    HWND window_ = nullptr;
    HANDLE workerThread_ = nullptr;
    DWORD workerThreadId_ = 0;
};
