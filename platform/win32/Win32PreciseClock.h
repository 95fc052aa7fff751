// The real fine clock: the performance counter, and waits on a
// high-resolution waitable timer where the system has one (Windows 10 1803
// and later), otherwise Sleep, ending 2 ms early and spinning on the
// counter for the rest.
#pragma once

#include "platform/PreciseClock.h"
#include "platform/WinTypes.h"

class Win32PreciseClock final : public PreciseClock {
public:
    Win32PreciseClock();
    std::uint64_t NowMicroseconds() override;
    void WaitUntil(std::uint64_t dueMicroseconds) override;

private:
    std::uint64_t frequency_ = 1;
};
