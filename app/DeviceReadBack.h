// Reading the button table back out of the mouse: the chain of timer steps
// (515, 513, 516, 514, 517) that asks the mouse and gathers its answers,
// the comparison with the settings at its end (0x671 when they differ), and
// the adoption of what was read (0x672, answered with 0x673). The input
// thread feeds it every report; the main thread runs the steps.
#pragma once

#include "app/DeviceImage.h"
#include "app/ReadBackWait.h"
#include "framework/MessageMap.h"

class DeviceSession;
class InputRoutes;
class SettingsStore;

class DeviceReadBack {
public:
    DeviceReadBack(SettingsStore& settings, DeviceSession& device) : settings_(settings), device_(device) {}

    // `window` owns the step timers.
    void SetWindow(HWND window) { window_ = window; }
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Input thread: one report from the library, handled by the session
    // (routing and collection); a collection it completes is counted here.
    void FeedInputReport(InputRoutes& routes, DWORD identifier, const BYTE* report, DWORD length);

private:
    // One step of the chain; ticks of other timers go on.
    void OnTimer(UINT_PTR id, BOOL& handled);
    LRESULT OnAdoptDeviceImage(WPARAM wParam, BOOL& handled);
    static const MessageMapEntry<DeviceReadBack> kMessageMap[];

    void Finish();

    SettingsStore& settings_;
    DeviceSession& device_;
    HWND window_ = nullptr;
    // What the chain gathered, which fields of the image it read, and
    // whether the collections it waits for have ended.
    ReadBackSlots slots_;
    DeviceImageFields fields_;
    ReadBackWait progress_;
};
