#include "actions/HorizontalScrolling.h"

#include <atomic>

namespace {
std::atomic<HorizontalScrolling*> g_scrolling{nullptr};
}

HorizontalScrolling* Scrolling() { return g_scrolling.load(std::memory_order_acquire); }

void SetScrolling(HorizontalScrolling* scrolling) {
    g_scrolling.store(scrolling, std::memory_order_release);
}
