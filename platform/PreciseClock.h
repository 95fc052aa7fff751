// A fine clock and waits until a point on it, for input that must leave at
// exact times (macro playback). On Windows the performance counter and a
// high-resolution waitable timer (win32/Win32PreciseClock); on the host a
// clock driven by the fake platform's virtual time (fake/FakePreciseClock).
#pragma once

#include <cstdint>

class PreciseClock {
public:
    // Microseconds on a monotonic clock (QueryPerformanceCounter).
    virtual std::uint64_t NowMicroseconds() = 0;
    // Returns once the clock has reached `dueMicroseconds` (a high-resolution
    // waitable timer where the system has one, else Sleep). Always gives up
    // the processor at least once, even when the time has passed.
    virtual void WaitUntil(std::uint64_t dueMicroseconds) = 0;

protected:
    ~PreciseClock() = default;
};
