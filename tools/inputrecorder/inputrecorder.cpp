// Input recorder: low-level keyboard and mouse hooks that print one line per
// event the system sees, injected or not, with a high-resolution time stamp.
// The end-to-end tests run it beside the service to see what was injected.
//
//   inputrecorder.exe [--out FILE] [--stop-event NAME]
//       records until Ctrl-C or until the named event is set; prints
//       "ready" once both hooks are in place
//   inputrecorder.exe --signal NAME
//       sets the named event (stops a recorder started with that name)
//
// Lines, each flushed as soon as it is written:
//   key t=<us> msg=0x100 vk=0x41 scan=0x1e flags=0x11 injected=1 extended=1 up=0 time=<ms> extra=0x0
//   mouse t=<us> msg=0x20a x=640 y=400 data=0x780000 high=120 flags=0x1 injected=1 time=<ms> extra=0xe001
// t is QueryPerformanceCounter in microseconds (comparable across processes
// of one machine); time is the event's own tick count; high is the signed
// high word of mouseData (the wheel delta, or the extra button).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tools/common/ToolRun.h"

namespace {

using toolrun::MicrosecondsNow;
using toolrun::WriteLine;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const unsigned long long t = MicrosecondsNow();
        const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        char line[256];
        std::snprintf(line, sizeof line,
                      "key t=%llu msg=0x%x vk=0x%lx scan=0x%lx flags=0x%lx injected=%d extended=%d up=%d "
                      "time=%lu extra=0x%llx",
                      t, static_cast<unsigned>(wParam), k->vkCode, k->scanCode, k->flags,
                      (k->flags & LLKHF_INJECTED) ? 1 : 0, (k->flags & LLKHF_EXTENDED) ? 1 : 0,
                      (k->flags & LLKHF_UP) ? 1 : 0, k->time,
                      static_cast<unsigned long long>(k->dwExtraInfo));
        WriteLine(line);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const unsigned long long t = MicrosecondsNow();
        const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        char line[256];
        std::snprintf(line, sizeof line,
                      "mouse t=%llu msg=0x%x x=%ld y=%ld data=0x%lx high=%d flags=0x%lx injected=%d "
                      "time=%lu extra=0x%llx",
                      t, static_cast<unsigned>(wParam), m->pt.x, m->pt.y, m->mouseData,
                      static_cast<int>(static_cast<short>(HIWORD(m->mouseData))), m->flags,
                      (m->flags & LLMHF_INJECTED) ? 1 : 0, m->time,
                      static_cast<unsigned long long>(m->dwExtraInfo));
        WriteLine(line);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Handles the hooks' calls (they arrive as messages to this thread) until
// the stop event is set.
void RunUntilStopped() {
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &toolrun::StopEvent(), FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait failed
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    toolrun::Options options;
    const int parsed = toolrun::ParseOptions(
        argc, argv, "usage: inputrecorder [--out FILE] [--stop-event NAME] | --signal NAME\n", {}, options);
    if (parsed >= 0) return parsed;
    if (!toolrun::Start("inputrecorder", options, L"w")) return 1;

    const HINSTANCE self = ::GetModuleHandleW(nullptr);
    HHOOK keyboard = ::SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, self, 0);
    HHOOK mouse = ::SetWindowsHookExW(WH_MOUSE_LL, MouseHook, self, 0);
    if (keyboard == nullptr || mouse == nullptr) {
        std::fputs("inputrecorder: cannot install the hooks\n", stderr);
        return 1;
    }
    WriteLine("ready");
    RunUntilStopped();
    ::UnhookWindowsHookEx(mouse);
    ::UnhookWindowsHookEx(keyboard);
    toolrun::Finish();
    return 0;
}
