// The mouse's HID protocol as the service binds it: the outside contract
// (the libraries' ordinals, the collection record, the device match, every
// report byte) lives in contract/; here are the C types of the library's
// entry points, and the system default the input decoding falls back on.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/HidLibrary.h"
#include "contract/Report.h"
#include "platform/WinTypes.h"

#ifdef _WIN32
#define HID_CALLBACK __stdcall
#else
#define HID_CALLBACK
#endif

// Input callback: identifier (only logged), report bytes, length in bytes.
using HidInputCallback = void(HID_CALLBACK*)(DWORD identifier, const BYTE* report, DWORD length);

using HidOpenFunction = int (*)(HWND window, UINT message);  // nonzero when opened
using HidCloseFunction = int (*)();
using HidWriteFunction = int (*)(DWORD deviceId, const BYTE* bytes, DWORD length);
using HidReadFunction = int (*)(DWORD deviceId, BYTE* buffer, DWORD length);
using HidSetMatchFunction = int (*)(const DWORD* matchRecord);
using HidSetCallbackFunction = int (*)(HidInputCallback callback);
// Copies the record of a pending notification into `record` and forgets the
// notification; 0 (and `record` untouched) for any value that does not name
// a pending notification.
using HidReadNoticeFunction = int (*)(LPARAM notice, _DEVICE_STATE* record);

// Lines per wheel notch when the system does not say.
constexpr int kDefaultWheelScrollChars = 3;
