// HidDevice.dll, bound by ordinal (2 to 9) the first time the mouse is
// opened. Each call below does nothing and answers 0 when the library or
// the entry point is missing.
#pragma once

#include <atomic>

#include "device/DeviceProtocol.h"

// Loads "HidDevice.dll" and resolves the eight ordinals, unless already bound.
// A library without ordinal 9 cannot tell which collections are open: the
// binding says so in a debug line, once.
void BindHidDevice();
// True when the bound library can hand out its collection notices (ordinal
// 9). Without it no collection is ever listed and every command would do
// nothing, so the mouse is treated as absent: it is not opened at all.
bool HidDeviceReadsNotices();
// Forgets the binding (the next BindHidDevice loads the library again).
void ResetHidDeviceBinding();
bool HidDeviceBound();

int HidSetMatch(const DWORD* matchRecord);         // ordinal 7
int HidSetCallback(HidInputCallback callback);     // ordinal 8
int HidOpen(HWND window, UINT message);            // ordinal 2
int HidClose();                                    // ordinal 3
int HidWriteData(DWORD deviceId, const BYTE* bytes, DWORD length);     // ordinal 4
int HidWriteCommand(DWORD deviceId, const BYTE* bytes, DWORD length);  // ordinal 5
int HidReadReply(DWORD deviceId, BYTE* buffer, DWORD length);          // ordinal 6
int HidReadNotice(LPARAM notice, _DEVICE_STATE* record);               // ordinal 9
