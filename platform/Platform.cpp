#include "platform/Platform.h"

#include <atomic>
#include <cstdlib>

namespace {
std::atomic<const Platform*> g_platform{nullptr};
}

const Platform& Sys() {
    const Platform* platform = g_platform.load(std::memory_order_acquire);
    if (platform == nullptr) std::abort();  // a program must set its platform before use
    return *platform;
}

void SetPlatform(const Platform* platform) { g_platform.store(platform, std::memory_order_release); }
