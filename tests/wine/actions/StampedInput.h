// The real input injection with the caller's fine clock read around each
// keybd_event and mouse_event call, for the timing benchmarks: where the
// service makes its injection call, beside what the recorder later sees.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/PreciseClock.h"
#include "platform/win32/Win32Input.h"

struct InjectionCall {
    std::int64_t made = 0;   // microseconds, just before the call
    std::int64_t ended = 0;  // just after it returned
};

class StampedInput final : public InputInjection {
public:
    explicit StampedInput(PreciseClock& clock) : clock_(clock) {}
    void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) override {
        const auto made = Now();
        real_.keybd_event(virtualKey, scanCode, flags, extraInfo);
        Note(made);
    }
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo) override {
        const auto made = Now();
        real_.mouse_event(flags, dx, dy, data, extraInfo);
        Note(made);
    }
    LPARAM GetMessageExtraInfo() override { return real_.GetMessageExtraInfo(); }
    BOOL GetCursorPos(POINT* point) override { return real_.GetCursorPos(point); }
    BOOL SetCursorPos(int x, int y) override { return real_.SetCursorPos(x, y); }

    std::vector<InjectionCall> Calls() {
        std::lock_guard<std::mutex> guard(lock_);
        return calls_;
    }
    std::size_t CallCount() {
        std::lock_guard<std::mutex> guard(lock_);
        return calls_.size();
    }

private:
    std::int64_t Now() { return static_cast<std::int64_t>(clock_.NowMicroseconds()); }
    void Note(std::int64_t made) {
        const auto ended = Now();
        std::lock_guard<std::mutex> guard(lock_);
        calls_.push_back({made, ended});
    }

    PreciseClock& clock_;
    Win32Input real_;
    std::mutex lock_;
    std::vector<InjectionCall> calls_;
};
