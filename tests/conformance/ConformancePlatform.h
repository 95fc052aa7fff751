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
};

std::unique_ptr<ConformancePlatform> MakeConformancePlatform();
