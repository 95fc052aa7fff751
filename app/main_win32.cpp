// Entry of mousehid.exe: the real platform, the application object, the framework.
#include "app/MursohidApp.h"
#include "platform/win32/Win32Platform.h"

namespace {
Win32Platform g_platform;
CMursohidApp theApp;
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SetPlatform(&g_platform);
    return AfxWinMain();
}
