// Every timer of the main window: its id and, where the service arms it, its
// period. Any other id does nothing.
#pragma once

#include <cstdint>

// Foreground watch, armed at creation and never stopped.
constexpr std::uintptr_t kPeriodicTimerId = 1;
constexpr std::uint32_t kPeriodicTimerMs = 2000;

// The settle time after a sibling's arrival notice (0x7EB): the tray
// program starts and "Plug" is written when it ends. Notices that come
// meanwhile join the one pending.
constexpr std::uintptr_t kArrivalSettleTimerId = 2;
constexpr std::uint32_t kArrivalSettleMs = 5000;

// A Tab tap, for a timer message with this id from outside the service
// (nothing in the service arms it).
constexpr std::uintptr_t kTabTapTimerId = 100;

// Repeat a volume step while the button is held.
constexpr std::uintptr_t kVolumeUpTimerId = 1000;
constexpr std::uintptr_t kVolumeDownTimerId = 1001;
constexpr std::uint32_t kVolumeRepeatMs = 100;

// The read-back chain: one step per tick, in this order. Nothing in the
// service arms the first; each step arms the next.
constexpr std::uintptr_t kReadBackStep1TimerId = 515;
constexpr std::uintptr_t kReadBackStep2TimerId = 513;
constexpr std::uintptr_t kReadBackStep3TimerId = 516;
constexpr std::uintptr_t kReadBackStep4TimerId = 514;
constexpr std::uintptr_t kReadBackStep5TimerId = 517;
constexpr std::uint32_t kReadBackStepMs = 100;
