// One horizontal scroll request from the mouse: scroll whatever lies under
// the pointer sideways, in the way that kind of window accepts.
#pragma once

#include "scroll/ScrollSystem.h"

namespace scroll {

// `count` steps, positive to the left, negative to the right; 0 scrolls
// nothing. At most kMaxScrollSteps steps are delivered. Runs on the calling
// thread and keeps no state between calls. Empty when it scrolled; else why
// nothing was scrolled.
Text ScrollUnderPointer(const ScrollSystem& system, int count);

}  // namespace scroll
