// The mouse's reports as the service speaks them: the report frame, every
// command code and parameter byte, the button table and macro area, the
// layout of the input reports and of what a read-back returns. Every report
// byte lives here (the button codes in contract/ButtonCodes.h).
#pragma once

#include <cstddef>
#include <cstdint>

// --- report frame ---
constexpr std::size_t kFrameSize = 1024;    // zeroed work buffer
constexpr std::size_t kReportOffset = 1;    // the 8-byte report starts here
constexpr std::size_t kReportSize = 8;
constexpr std::size_t kDecodeFrameSize = 9; // report-ID byte + 8 report bytes
constexpr std::uint8_t kCommandMarker = 0x07;  // byte 0 of command reports and replies

// --- command codes (byte 1 of a command report) ---
constexpr std::uint8_t kCmdPollingRate = 0x01;     // 07 01 c
constexpr std::uint8_t kCmdButtonTable = 0x04;     // 07 04 01 28, then 5 data reports
constexpr std::uint8_t kCmdMacroArea = 0x05;       // 07 05 01 00 1E 14, then 378 data reports
constexpr std::uint8_t kCmdStages = 0x06;          // 07 06 01 10, then X and Y data reports
constexpr std::uint8_t kCmdUniversalScroll = 0x07; // 07 07 01 u
constexpr std::uint8_t kCmdLiftOff = 0x08;         // 07 08 01 v 01
constexpr std::uint8_t kCmdSelectStage = 0x09;     // 07 09 01 n
constexpr std::uint8_t kCmdLogoLight = 0x0A;       // 07 0A 01 00 g
constexpr std::uint8_t kCmdStateByte = 0x17;       // 07 17 v
constexpr std::uint8_t kCmdProbe = 0x80;           // 07 80, reply read at once
constexpr std::uint8_t kCmdReadBackQuery = 0x83;   // 07 83, encoded reply
constexpr std::uint8_t kCmdReadBackRequest = 0x84; // 07 84 01 20, four input reports answer
constexpr std::uint8_t kCmdStageQuery = 0x89;      // 07 89 01, reply byte 2 = stage

constexpr std::uint8_t kParamOne = 0x01;                 // byte 2 of most commands
constexpr std::uint8_t kButtonTableLength = 0x28;        // 40 table bytes follow
constexpr std::uint8_t kStageDataLength = 0x10;          // stage data bytes follow
constexpr std::uint8_t kMacroParam3 = 0x00;
constexpr std::uint8_t kMacroParam4 = 0x1E;
constexpr std::uint8_t kMacroParam5 = 0x14;
constexpr std::uint8_t kLiftOffTrailer = 0x01;           // byte 4 of 07 08
constexpr std::uint8_t kReadBackRequestLength = 0x20;    // byte 3 of 07 84
constexpr std::uint8_t kLogoOnValue = 4;                 // LEDLogoEnable 4 ...
constexpr std::uint8_t kLogoOnWire = 0xFF;               // ... goes out as 0xFF

// --- button table and macro area ---
constexpr std::size_t kButtonCodeSize = 4;
constexpr std::size_t kButtonTableSize = 40;       // 10 buttons x 4 bytes
constexpr std::size_t kMacroBlockSize = 302;
constexpr std::size_t kMacroAreaSize = 3020;       // 10 blocks
constexpr std::size_t kMacroBlockDataMax = 240;    // KeyNumber bound
constexpr std::size_t kButtonTableReports = kButtonTableSize / kReportSize;         // 5
constexpr std::size_t kMacroAreaReports = (kMacroAreaSize + kReportSize - 1) / kReportSize;  // 378

// Data reports of the macro area that start a button's block: a 150 ms
// pause comes after each of them.
constexpr int kMacroBlockStartReports[] = {0, 38, 76, 114, 151, 189, 227, 265, 302, 340};
constexpr bool IsMacroBlockStartReport(int j) {
    for (int start : kMacroBlockStartReports)
        if (start == j) return true;
    return false;
}

// --- input reports ---
constexpr std::size_t kVendorEventLength = 9;
constexpr std::uint8_t kVendorReportId = 0x00;
constexpr std::uint8_t kVendorEventButton = 0x42;
constexpr std::uint8_t kVendorEventLaunch = 0xA3;
constexpr std::uint8_t kButtonPressed = 1;
constexpr std::uint8_t kButtonReleased = 0;
constexpr std::uint8_t kLaunchSignature[4] = {0x19, 0x5D, 0x10, 0x16};  // bytes 3 to 6
constexpr std::uint8_t kFunctionReportId = 0x03;
constexpr std::uint8_t kFunctionWheelUp = 0xF0;
constexpr std::uint8_t kFunctionWheelDown = 0xF1;
constexpr std::uint8_t kFunctionScrollLeft = 0xF2;
constexpr std::uint8_t kFunctionScrollRight = 0xF3;
constexpr std::uint8_t kFunctionZoomIn = 0xF4;
constexpr std::uint8_t kFunctionZoomOut = 0xF5;
constexpr std::uint8_t kFunctionLaunch = 0xF6;
constexpr int kLastButtonIndex = 9;
constexpr int kFirstAutoReleaseButton = 8;  // buttons 8 and 9 report press only

// --- read-back collection ---
constexpr std::size_t kReadBackReports = 4;
constexpr std::size_t kReadBackBlockSize = 64;       // sixteen 4-byte button entries
constexpr std::size_t kReadBackEntrySize = 4;        // type, function, -, code
constexpr std::size_t kBulkReadBackReports = 192;
constexpr std::size_t kBulkReadBackSize = 1536;      // sixteen 96-byte button records
constexpr std::size_t kBulkRecordSize = 96;
constexpr std::size_t kBulkRecordDataOffset = 2;     // after the two ButtonID bytes
