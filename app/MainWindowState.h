// What the main window owns, in one place for the window's own files.
#pragma once

#include "app/ButtonRoutes.h"
#include "app/MursohidDlg.h"
#include "app/RegistryKeyHolder.h"
#include "config/SettingsStore.h"
#include "device/DeviceSession.h"

class CProgressDlg;

struct CMursohidDlg::State {
    explicit State(CMursohidDlg& window) : Routes(window) {}

    SettingsStore Settings;
    DeviceSession Device;
    RegistryKeyHolder MouseKey;
    HANDLE WorkerThread = nullptr;
    ButtonRoutes Routes;
    // The progress dialog, while a full write shows it.
    CProgressDlg* Progress = nullptr;
};
