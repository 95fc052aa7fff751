// Horizontal scrolling of a browser view through the browser's own script
// window, with scroll messages as the fallback when the browser refuses.
#pragma once

#include "scroll/ScrollSystem.h"

namespace scroll {

// The browser view answers the document request within this time or is
// given up on.
constexpr UINT kBrowserAnswerTimeoutMs = 1000;
// One step scrolls the page this many pixels.
constexpr LONG kBrowserPixelsPerStep = 10;

// Scrolls the browser view under the pointer `n` steps (0 to
// kMaxScrollSteps), to the left when `toLeft`. COM is initialised on the
// calling thread for the duration of the call, and the accessibility
// library is loaded and freed within it.
void ScrollBrowserHorizontally(const ScrollSystem& system, int n, bool toLeft);

}  // namespace scroll
