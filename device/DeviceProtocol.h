// The mouse's HID protocol as the service speaks it: the library contract of
// HidDevice.dll (ordinals, argument layouts, the collection record), the
// device match, the report frame, every command code and parameter byte, and
// the layout of the input reports. Every report byte lives here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"

#ifdef _WIN32
#define HID_CALLBACK __stdcall
#else
#define HID_CALLBACK
#endif

// --- HIDApi.dll: twelve entry points by name, resolved in this order ---
constexpr std::size_t kHidApiEntryCount = 12;
constexpr const char* kHidApiEntryNames[kHidApiEntryCount] = {
    "OpenUSB",     "WriteUSB",          "ReadUSB",           "SetFeature",
    "GetFeature",  "CloseUSB",          "InitUSB",           "LoadPCtimer",
    "EncodeSecrecy_V11", "DecodeSecrecy_V11", "change_PCTimer", "SavePCtimerWithInDLL",
};

// --- HidDevice.dll: exports by ordinal only ---
constexpr WORD kOrdinalOpen = 2;
constexpr WORD kOrdinalClose = 3;
constexpr WORD kOrdinalWriteData = 4;
constexpr WORD kOrdinalWriteCommand = 5;
constexpr WORD kOrdinalReadReply = 6;
constexpr WORD kOrdinalSetMatch = 7;
constexpr WORD kOrdinalSetCallback = 8;

// Input callback: identifier (only logged), report bytes, length in bytes.
using HidInputCallback = void(HID_CALLBACK*)(DWORD identifier, const BYTE* report, DWORD length);

using HidOpenFunction = int (*)(HWND window, UINT message);  // nonzero when opened
using HidCloseFunction = int (*)();
using HidWriteFunction = int (*)(DWORD deviceId, const BYTE* bytes, DWORD length);
using HidReadFunction = int (*)(DWORD deviceId, BYTE* buffer, DWORD length);
using HidSetMatchFunction = int (*)(const DWORD* matchRecord);
using HidSetCallbackFunction = int (*)(HidInputCallback callback);

// One open collection, as the library announces it (lParam of its
// notification message points to one) and as DeviceList keeps it.
struct _DEVICE_STATE {
    DWORD State;     // 1 = opened, 0 = closed
    DWORD DeviceId;  // low 16 bits: the handle ordinals 4, 5 and 6 take
    DWORD Reserved;  // kept, never read
    DWORD Usage;     // low 16 bits: kCommandUsage or kDataUsage
};
static_assert(sizeof(_DEVICE_STATE) == 16, "four 32-bit values");

constexpr WPARAM kCollectionNotification = 1;  // wParam of the notification
constexpr DWORD kCollectionClosed = 0;
constexpr DWORD kCollectionOpened = 1;

// --- device match ---
constexpr DWORD kVendorId = 0x195D;
constexpr DWORD kProductId = 0x1016;
constexpr DWORD kCommandUsage = 0xFF01;  // command reports out, replies in
constexpr DWORD kDataUsage = 0xFF00;     // bulk data reports out
constexpr std::size_t kMatchRecordSize = 7;
constexpr DWORD kMatchRecord[kMatchRecordSize] = {kVendorId, kProductId, 2, 1,
                                                  kCommandUsage, kDataUsage, kDataUsage};

// --- report frame ---
constexpr std::size_t kFrameSize = 1024;    // zeroed work buffer
constexpr std::size_t kReportOffset = 1;    // the 8-byte report starts here
constexpr std::size_t kReportSize = 8;
constexpr std::size_t kDecodeFrameSize = 9; // report-ID byte + 8 report bytes
constexpr BYTE kCommandMarker = 0x07;       // byte 0 of command reports and replies

// --- command codes (byte 1 of a command report) ---
constexpr BYTE kCmdPollingRate = 0x01;     // 07 01 c
constexpr BYTE kCmdButtonTable = 0x04;     // 07 04 01 28, then 5 data reports
constexpr BYTE kCmdMacroArea = 0x05;       // 07 05 01 00 1E 14, then 378 data reports
constexpr BYTE kCmdStages = 0x06;          // 07 06 01 10, then X and Y data reports
constexpr BYTE kCmdUniversalScroll = 0x07; // 07 07 01 u
constexpr BYTE kCmdLiftOff = 0x08;         // 07 08 01 v 01
constexpr BYTE kCmdSelectStage = 0x09;     // 07 09 01 n
constexpr BYTE kCmdLogoLight = 0x0A;       // 07 0A 01 00 g
constexpr BYTE kCmdStateByte = 0x17;       // 07 17 v
constexpr BYTE kCmdProbe = 0x80;           // 07 80, reply read at once
constexpr BYTE kCmdReadBackQuery = 0x83;   // 07 83, encoded reply
constexpr BYTE kCmdReadBackRequest = 0x84; // 07 84 01 20, four input reports answer
constexpr BYTE kCmdStageQuery = 0x89;      // 07 89 01, reply byte 2 = stage

constexpr BYTE kParamOne = 0x01;                 // byte 2 of most commands
constexpr BYTE kButtonTableLength = 0x28;        // 40 table bytes follow
constexpr BYTE kStageDataLength = 0x10;          // stage data bytes follow
constexpr BYTE kMacroParam3 = 0x00;
constexpr BYTE kMacroParam4 = 0x1E;
constexpr BYTE kMacroParam5 = 0x14;
constexpr BYTE kLiftOffTrailer = 0x01;           // byte 4 of 07 08
constexpr BYTE kReadBackRequestLength = 0x20;    // byte 3 of 07 84
constexpr BYTE kLogoOnValue = 4;                 // LEDLogoEnable 4 ...
constexpr BYTE kLogoOnWire = 0xFF;               // ... goes out as 0xFF

// --- button table and macro area ---
constexpr std::size_t kButtonCodeSize = 4;
constexpr std::size_t kButtonTableSize = 40;       // 10 buttons x 4 bytes
constexpr std::size_t kMacroBlockSize = 302;
constexpr std::size_t kMacroAreaSize = 3020;       // 10 blocks
constexpr std::size_t kMacroBlockDataMax = 240;    // KeyNumber bound
constexpr std::size_t kButtonTableReports = kButtonTableSize / kReportSize;         // 5
constexpr std::size_t kMacroAreaReports = (kMacroAreaSize + kReportSize - 1) / kReportSize;  // 378

// --- input reports ---
constexpr std::size_t kVendorEventLength = 9;
constexpr BYTE kVendorReportId = 0x00;
constexpr BYTE kVendorEventButton = 0x42;
constexpr BYTE kVendorEventLaunch = 0xA3;
constexpr BYTE kButtonPressed = 1;
constexpr BYTE kButtonReleased = 0;
constexpr BYTE kLaunchSignature[4] = {0x19, 0x5D, 0x10, 0x16};  // bytes 3 to 6
constexpr BYTE kFunctionReportId = 0x03;
constexpr BYTE kFunctionWheelUp = 0xF0;
constexpr BYTE kFunctionWheelDown = 0xF1;
constexpr BYTE kFunctionScrollLeft = 0xF2;
constexpr BYTE kFunctionScrollRight = 0xF3;
constexpr BYTE kFunctionZoomIn = 0xF4;
constexpr BYTE kFunctionZoomOut = 0xF5;
constexpr BYTE kFunctionLaunch = 0xF6;
constexpr int kLastButtonIndex = 9;
constexpr int kFirstAutoReleaseButton = 8;  // buttons 8 and 9 report press only

// --- read-back collection ---
constexpr std::size_t kReadBackReports = 4;
constexpr std::size_t kReadBackBlockSize = 64;
constexpr std::size_t kBulkReadBackReports = 192;
constexpr std::size_t kBulkReadBackSize = 1536;

constexpr int kDefaultWheelScrollChars = 3;
