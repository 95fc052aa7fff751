#include "platform/PreciseClock.h"

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<PreciseClock*> g_clock{nullptr};
}

PreciseClock& Clock() {
    PreciseClock* clock = g_clock.load(std::memory_order_acquire);
    if (clock == nullptr) std::abort();  // a program must set its clock before use
    return *clock;
}

void SetClock(PreciseClock* clock) { g_clock.store(clock, std::memory_order_release); }
