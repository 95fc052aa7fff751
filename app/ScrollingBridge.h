// The mouse actions' sideways scrolling, carried out by the scrolling
// subsystem on the process's scroll system.
#pragma once

#include "actions/HorizontalScrolling.h"

class ScrollingBridge final : public HorizontalScrolling {
public:
    void ScrollUnderPointer(int count) override;
    void ScrollBrowserHorizontally(int steps, int toLeft) override;
};
