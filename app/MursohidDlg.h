// The service's one hidden top-level window. It runs the start-up sequence
// when it is created and the shut-down sequence when it is destroyed, owns
// the settings store and the device session, and hands every other message
// to the feature that owns it, each with its own state and message map.
#pragma once

#include "app/ButtonInput.h"
#include "app/ControlMessages.h"
#include "app/DevicePresence.h"
#include "app/DeviceReadBack.h"
#include "app/ForegroundWatch.h"
#include "app/FullWrite.h"
#include "app/RegistryKeyHolder.h"
#include "app/WriteGate.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"
#include "framework/CWnd.h"

class CMursohidDlg : public CWnd {
public:
    CMursohidDlg() = default;
    ~CMursohidDlg() override;

    // Creates the hidden window; the start-up sequence runs inside.
    BOOL CreateServiceWindow();
    // One input report, on the library's thread.
    void HandleInputReport(DWORD identifier, const BYTE* report, DWORD length);

    SettingsStore& Settings() { return settings_; }
    DeviceSession& Device() { return device_; }
    ControlMessages& Controls() { return controls_; }
    ForegroundWatch& Foreground() { return foreground_; }

protected:
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // The session ends: the service stops as on WM_CLOSE before the system ends it.
    LRESULT OnEndSession(WPARAM wParam, BOOL& handled);
    static const MessageMapEntry<CMursohidDlg> kMessageMap[];
    // The macro worker thread's routine; its parameter is the main window.
    static DWORD PLATFORM_THREAD_CALL MacroWorker(void* mainWindow);

    // Made in this order: what the features work on, then the features.
    SettingsStore settings_;
    DeviceSession device_;
    RegistryKeyHolder mouseKey_;
    // What reaches the window during a full write waits for its end.
    WriteGate gate_;
    ButtonInput buttons_{settings_, device_};
    ControlMessages controls_{settings_, device_};
    DevicePresence presence_{device_, buttons_};
    ForegroundWatch foreground_{settings_};
    FullWrite fullWrite_{*this, settings_, device_, gate_};
    DeviceReadBack readBack_{settings_, device_};
};
