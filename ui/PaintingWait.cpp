#include "ui/PaintingWait.h"

#include "platform/Platform.h"

namespace {
// Paint messages taken in one go; a window that never validates cannot hold
// the wait forever.
constexpr int kPaintsPerWake = 32;
}  // namespace

void WaitWhilePainting(HWND window, DWORD milliseconds) {
    if (window == nullptr) {
        Sys().Kernel.Sleep(milliseconds);
        return;
    }
    const DWORD start = Sys().Kernel.GetTickCount();
    DWORD remaining = milliseconds;
    for (;;) {
        const DWORD woke = Sys().Windows.MsgWaitForMultipleObjects(remaining, QS_PAINT);
        if (woke == WAIT_TIMEOUT) return;
        if (woke != WAIT_OBJECT_0) {
            Sys().Kernel.Sleep(remaining);
            return;
        }
        MSG msg{};
        for (int taken = 0; taken < kPaintsPerWake &&
                            Sys().Windows.PeekMessageW(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT);
             ++taken)
            Sys().Windows.DispatchMessageW(&msg);
        const DWORD elapsed = Sys().Kernel.GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        remaining = milliseconds - elapsed;
    }
}
