// What the main window owns, in one place for the window's own files.
#pragma once

#include "actions/PlatformWindowQueries.h"
#include "app/ButtonRoutes.h"
#include "app/MainWindowActions.h"
#include "app/MursohidDlg.h"
#include "app/RegistryKeyHolder.h"
#include "app/ScrollingBridge.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"

class CProgressDlg;

struct CMursohidDlg::State {

    SettingsStore Settings;
    DeviceSession Device;
    RegistryKeyHolder MouseKey;
    HANDLE WorkerThread = nullptr;
    MainWindowActions Actions{Settings, Device};
    PlatformWindowQueries Windows;
    ScrollingBridge Scrolling;
    ButtonRoutes Routes{Actions, Windows};
    // The progress dialog, while a full write shows it.
    CProgressDlg* Progress = nullptr;
};
