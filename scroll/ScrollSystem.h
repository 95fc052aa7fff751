// The three views of the system that horizontal scrolling works through.
#pragma once

#include "scroll/BrowserAccess.h"
#include "scroll/ScrollSender.h"
#include "scroll/ScrollWindows.h"

struct ScrollSystem {
    ScrollWindows& Windows;
    ScrollSender& Sender;
    BrowserAccess& Browser;
};
