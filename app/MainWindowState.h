// What the main window owns, in one place for the window's own files.
#pragma once

#include "actions/PlatformWindowQueries.h"
#include "app/ButtonRoutes.h"
#include "app/DeviceImage.h"
#include "app/MainWindowActions.h"
#include "app/MursohidDlg.h"
#include "app/ReadBackWait.h"
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

    // True while start-up or a console connect opens the mouse (main thread).
    bool OpeningDevice = false;
    // The read-back chain: what it gathered, which fields of the image it
    // read, and whether the collections it waits for have ended.
    ReadBackSlots ReadBackData;
    DeviceImageFields ImageFields;
    ReadBackWait ReadBackProgress;
    // The system's foreground events, while the window exists.
    HANDLE ForegroundHook = nullptr;
    // The progress dialog, while a full write shows it.
    CProgressDlg* Progress = nullptr;
};
