// The seam between the service and the operating system, one narrow
// interface per system area. On Windows each is the real Win32 API
// (platform/win32), on the host an in-memory fake (platform/fake) that
// records what was asked of it. The code reaches them through Sys():
//
//   Sys().Kernel.Sleep(50);
//   Sys().Windows.PostMessageW(window, message, 0, 0);
//   Sys().Input.keybd_event(VK_TAB, 0, 0, 0);
//   Sys().Graphics.BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
//
// Method names and arguments follow the Win32 functions they stand for, so
// the calling code reads as it would against the real API.
#pragma once

#include "platform/Files.h"
#include "platform/Graphics.h"
#include "platform/Input.h"
#include "platform/Kernel.h"
#include "platform/PreciseClock.h"
#include "platform/Shell.h"
#include "platform/Windowing.h"

struct Platform {
    KernelServices& Kernel;
    WindowServices& Windows;
    FileServices& Files;
    ShellServices& Shell;
    InputInjection& Input;
    PreciseClock& Clock;
    // --- Skinned interface: drawing. ---
    GraphicsServices& Graphics;
};

// The platform the process runs on. Set once at start (the Win32 platform in
// the product, a fake in tests); every subsystem reaches the system through it.
const Platform& Sys();
void SetPlatform(const Platform* platform);
