// Message 0x4DE: the whole active profile goes into the mouse behind the
// progress dialog, and the configuration program hears 0x4E1 when it is done.
#pragma once

#include "framework/MessageMap.h"

class CWnd;
class DeviceSession;
class SettingsStore;
class WriteGate;

class FullWrite {
public:
    // `owner` is the window the progress dialog belongs to.
    // Messages that reach the window during the write wait in `gate`.
    FullWrite(CWnd& owner, SettingsStore& settings, DeviceSession& device, WriteGate& gate)
        : owner_(owner), settings_(settings), device_(device), gate_(gate) {}

    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    LRESULT OnFullWrite(WPARAM wParam, BOOL& handled);
    static const MessageMapEntry<FullWrite> kMessageMap[];

    CWnd& owner_;
    SettingsStore& settings_;
    DeviceSession& device_;
    WriteGate& gate_;
};
