// The platform a conformance case runs on: the fake on the host, the real
// Win32 functions under Wine. Each build supplies its own.
#pragma once

#include <memory>

#include "platform/Platform.h"

struct ConformancePlatform {
    virtual ~ConformancePlatform() = default;
    virtual const Platform& Get() = 0;
    // Virtual milliseconds since the platform was made, where time is
    // virtual; -1 where it is real and not asserted.
    virtual long long VirtualNow() { return -1; }
    // Another program's window comes to the front and the system tells the
    // out-of-context event hooks of it (EVENT_SYSTEM_FOREGROUND); returns
    // once that program has done so. False when it could not be arranged.
    virtual bool RaiseForeignForegroundEvent() = 0;
};

std::unique_ptr<ConformancePlatform> MakeConformancePlatform();
