// The contract of the two libraries the service binds: HIDApi.dll's entry
// points by name, HidDevice.dll's ordinals, its collection record and its
// collection notification, and the match record that finds the mouse.
#pragma once

#include <cstddef>
#include <cstdint>

// --- HIDApi.dll: twelve entry points by name, resolved in this order ---
constexpr std::size_t kHidApiEntryCount = 12;
constexpr const char* kHidApiEntryNames[kHidApiEntryCount] = {
    "OpenUSB",     "WriteUSB",          "ReadUSB",           "SetFeature",
    "GetFeature",  "CloseUSB",          "InitUSB",           "LoadPCtimer",
    "EncodeSecrecy_V11", "DecodeSecrecy_V11", "change_PCTimer", "SavePCtimerWithInDLL",
};

// --- HidDevice.dll: exports by ordinal only ---
constexpr std::uint16_t kOrdinalOpen = 2;
constexpr std::uint16_t kOrdinalClose = 3;
constexpr std::uint16_t kOrdinalWriteData = 4;
constexpr std::uint16_t kOrdinalWriteCommand = 5;
constexpr std::uint16_t kOrdinalReadReply = 6;
constexpr std::uint16_t kOrdinalSetMatch = 7;
constexpr std::uint16_t kOrdinalSetCallback = 8;
constexpr std::uint16_t kOrdinalReadNotice = 9;

// One open collection, as the library announces it and as DeviceList keeps it.
struct _DEVICE_STATE {
    std::uint32_t State;     // 1 = opened, 0 = closed
    std::uint32_t DeviceId;  // low 16 bits: the handle ordinals 4, 5 and 6 take
    std::uint32_t Reserved;  // kept, never read
    std::uint32_t Usage;     // low 16 bits: kCommandUsage or kDataUsage
};
static_assert(sizeof(_DEVICE_STATE) == 16, "four 32-bit values");

// The collection notification: kMsgDeviceNotification with wParam 1 and, as
// lParam, a notice number from 1 to 0xFFFF, never an address. The receiver
// hands the number to ordinal 9, which copies the notice's record out and
// forgets it; a number that no pending notice has (anything any other
// program may post) gets 0 and nothing is read.
constexpr std::intptr_t kFirstNotice = 1;
constexpr std::intptr_t kLastNotice = 0xFFFF;
constexpr std::uintptr_t kCollectionNotification = 1;  // wParam of the notification
constexpr std::uint32_t kCollectionClosed = 0;
constexpr std::uint32_t kCollectionOpened = 1;

// --- device match ---
constexpr std::uint32_t kVendorId = 0x195D;
constexpr std::uint32_t kProductId = 0x1016;
constexpr std::uint32_t kCommandUsage = 0xFF01;  // command reports out, replies in
constexpr std::uint32_t kDataUsage = 0xFF00;     // bulk data reports out
constexpr std::size_t kMatchRecordSize = 7;
constexpr std::uint32_t kMatchRecord[kMatchRecordSize] = {kVendorId, kProductId, 2, 1,
                                                          kCommandUsage, kDataUsage, kDataUsage};
