#include "actions/ProgramLaunch.h"

#include "platform/Platform.h"

#include <atomic>

namespace {
constexpr char16_t kOpenVerb[] = u"open";

// Per button: whether it launched yet, and the tick of its last launch.
std::atomic<bool> g_launched[kButtonCount];
std::atomic<DWORD> g_lastLaunch[kButtonCount];

// True when `button` may launch now; notes the launch.
bool TakeLaunch(int button) {
    const DWORD now = Sys().Kernel.GetTickCount();
    if (g_launched[button].load() && now - g_lastLaunch[button].load() < kLaunchRepeatGuardMs) return false;
    g_launched[button].store(true);
    g_lastLaunch[button].store(now);
    return true;
}
}  // namespace

void ResetLaunchGuard() {
    for (auto& launched : g_launched) launched.store(false);
}

void LaunchProgramInForeground(ActionHost& host, WindowQueries& windows, const Text& path) {
    const HWND mainWindow = host.MainWindowHandle();
    const HWND foreground = windows.GetForegroundWindow();
    windows.AttachThreadInput(windows.GetWindowThreadProcessId(foreground),
                              windows.GetWindowThreadProcessId(mainWindow), TRUE);
    windows.SetForegroundWindow(mainWindow);
    Sys().Kernel.OutputDebugStringW(u"LAUNCH:" + path);
    Sys().Shell.ShellExecuteW(nullptr, kOpenVerb, path, Text(), Text(), SW_SHOWNORMAL);
    windows.AttachThreadInput(windows.GetWindowThreadProcessId(foreground),
                              windows.GetWindowThreadProcessId(mainWindow), FALSE);
}

void LaunchAssignedProgram(ActionHost& host, int button) {
    if (button < 0 || button >= kButtonCount) return;
    const int profile = host.ActiveProfileIndex();
    if (profile < 0 || profile >= kProfileCount) return;
    const ButtonAssignment assignment = host.WorkingAssignment(profile, button);
    const Text path = TextFromField(assignment.Path, kPathLength);
    if (!TakeLaunch(button)) {
        Sys().Kernel.OutputDebugStringW(u"LAUNCH: again within a moment, not opened again\n");
        return;
    }
    Sys().Kernel.OutputDebugStringW(u"LAUNCH:" + path);
    Sys().Shell.ShellExecuteW(nullptr, kOpenVerb, path, Text(), Text(), SW_SHOW);
}
