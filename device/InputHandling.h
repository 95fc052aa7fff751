// One input report from the mouse, handled in full: the two debug lines,
// the routing of what it asks for, and the read-back collection.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "device/InputRoutes.h"
#include "platform/WinTypes.h"

struct InputContext {
    InputRoutes* Routes = nullptr;  // null: nothing is routed
    std::atomic<std::int32_t>* ShortReadBusy = nullptr;
    std::atomic<std::int32_t>* BulkReadBusy = nullptr;
};

// The wheel-scroll-characters setting, read afresh; 3 when unavailable.
int WheelScrollChars();

void HandleInputReport(const InputContext& context, DWORD identifier, const std::uint8_t* report,
                       std::size_t length);
