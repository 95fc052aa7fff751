#include "actions/ProgramLaunch.h"

#include "platform/Platform.h"

namespace {
constexpr char16_t kOpenVerb[] = u"open";
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
    Sys().Kernel.OutputDebugStringW(u"LAUNCH:" + path);
    Sys().Shell.ShellExecuteW(nullptr, kOpenVerb, path, Text(), Text(), SW_SHOW);
}
