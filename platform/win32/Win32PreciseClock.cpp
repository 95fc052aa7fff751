#include "platform/win32/Win32PreciseClock.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;
// How long before the due time the sleep ends and the spin begins: timers
// and Sleep wake up late by up to a scheduling slice.
constexpr std::uint64_t kSpinMarginMicroseconds = 2000;

// A timer of its own for each wait: waits come from more than one thread
// (the input thread and the macro worker), and a timer is cheap to make.
class HighResolutionTimer {
public:
    HighResolutionTimer()
        : handle_(::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                           TIMER_ALL_ACCESS)) {}
    ~HighResolutionTimer() {
        if (handle_ != nullptr) ::CloseHandle(handle_);
    }
    HighResolutionTimer(const HighResolutionTimer&) = delete;
    HighResolutionTimer& operator=(const HighResolutionTimer&) = delete;

    bool Available() const { return handle_ != nullptr; }
    // Waits about `microseconds`; false when the timer could not be armed.
    bool Wait(std::uint64_t microseconds) {
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(microseconds * 10);  // relative, in 100 ns units
        if (!::SetWaitableTimer(handle_, &due, 0, nullptr, nullptr, FALSE)) return false;
        return ::WaitForSingleObject(handle_, INFINITE) == WAIT_OBJECT_0;
    }

private:
    HANDLE handle_;
};

}  // namespace

Win32PreciseClock::Win32PreciseClock() {
    LARGE_INTEGER frequency;
    if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        frequency_ = static_cast<std::uint64_t>(frequency.QuadPart);
}

std::uint64_t Win32PreciseClock::NowMicroseconds() {
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    return ticks / frequency_ * kMicrosecondsPerSecond +
           ticks % frequency_ * kMicrosecondsPerSecond / frequency_;
}

void Win32PreciseClock::WaitUntil(std::uint64_t dueMicroseconds) {
    std::uint64_t now = NowMicroseconds();
    if (now >= dueMicroseconds) {
        // A wait that is already over still lets another ready thread run
        // once: Sleep(0) would hand over only to threads of the raised
        // priority a playing macro's thread has.
        ::SwitchToThread();
        return;
    }
    // Sleep on a timer until shortly before the due time, then spin on the
    // counter until it comes: a yield may hand the processor to another
    // thread for a whole slice, a spin ends within microseconds of the time.
    HighResolutionTimer timer;
    bool useTimer = timer.Available();
    while (now + kSpinMarginMicroseconds < dueMicroseconds) {
        const std::uint64_t sleepFor = dueMicroseconds - now - kSpinMarginMicroseconds;
        if (useTimer) {
            useTimer = timer.Wait(sleepFor);
        } else {
            // Sleep may round up to the system tick; it never returns early.
            const std::uint64_t milliseconds = sleepFor / 1000;
            ::Sleep(static_cast<DWORD>(milliseconds > 0xFFFFFFF0u ? 0xFFFFFFF0u : milliseconds));
        }
        now = NowMicroseconds();
    }
    while (now < dueMicroseconds) {
        YieldProcessor();  // a pause for the core's sibling, not a yield to the scheduler
        now = NowMicroseconds();
    }
}
