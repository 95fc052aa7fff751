#include "actions/InputConventions.h"

#include "actions/HeldInput.h"

void SendKeyEvent(int virtualKey, bool keyUp) {
    const DWORD flags = KEYEVENTF_EXTENDEDKEY | (keyUp ? KEYEVENTF_KEYUP : 0);
    NoteKeyEvent(virtualKey, keyUp);
    Sys().Input.keybd_event(static_cast<BYTE>(virtualKey), 0, flags, 0);
}

void TapKey(int virtualKey) {
    SendKeyEvent(virtualKey, false);
    SendKeyEvent(virtualKey, true);
}

void SendMouseEvent(DWORD flags, DWORD data) {
    InputInjection& input = Sys().Input;
    const auto extra = static_cast<ULONG_PTR>(input.GetMessageExtraInfo());
    NoteMouseEvent(flags, data);
    input.mouse_event(flags, 0, 0, data, extra);
}
