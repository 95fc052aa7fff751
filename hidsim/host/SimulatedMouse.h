// The simulated mouse on the host: one SimHidLibrary behind the fake
// platform's "HidDevice.dll" and "HIDApi.dll" modules, so the device code
// loads and calls it exactly as it does the DLLs on Windows. Its clock is the
// fake platform's virtual clock; notifications go to the fake's windows.
#pragma once

#include <memory>

#include "hidsim/SimHidLibrary.h"
#include "hidsim/SimMouseConfig.h"
#include "platform/fake/FakePlatform.h"

class SimulatedMouse {
public:
    // Installs both modules into `fake` and makes this the active library.
    explicit SimulatedMouse(FakePlatform& fake, const SimMouseConfig& config = SimMouseConfig{});
    ~SimulatedMouse();
    SimulatedMouse(const SimulatedMouse&) = delete;
    SimulatedMouse& operator=(const SimulatedMouse&) = delete;

    SimHidLibrary& Library() { return *library_; }
    SimHidLibrary* operator->() { return library_.get(); }

private:
    class Notifier;
    std::unique_ptr<Notifier> notifier_;
    std::unique_ptr<SimHidLibrary> library_;
};
