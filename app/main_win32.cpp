// Entry of mousehid.exe: the real platform, the application object, the framework.
#include "app/MursohidApp.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32PreciseClock.h"

namespace {
Win32Platform g_platform;
Win32Input g_input;
Win32PreciseClock g_clock;
CMursohidApp theApp;
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SetPlatform(&g_platform);
    SetInput(&g_input);
    SetClock(&g_clock);
    return AfxWinMain();
}
