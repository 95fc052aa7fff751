// Every test fixture starts from a clean process: no library bound, no open
// collections, no read-back in progress, no main window and no worker
// thread, whatever an earlier test left behind.
#pragma once

#include "actions/HeldInput.h"
#include "actions/ProgramLaunch.h"
#include "app/ProcessState.h"
#include "device/DeviceList.h"
#include "device/HidApiBinding.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"

inline void ResetProcessState() {
    ResetHidDeviceBinding();
    HidApiBinding = HidApiBindingTable{};
    DeviceList.Clear();
    CurrentDeviceId.store(0);
    ReadBack.Reset();
    MainWindow.store(nullptr);
    WorkerThreadId.store(0);
    ResetHeldInput();
    ResetLaunchGuard();
}
