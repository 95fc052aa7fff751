// The mouse's side of the report protocol, stated here on its own from what
// the mouse understands and sends, not taken from the service's constants:
// the simulated mouse is an independent witness of the service's protocol
// code, so a wrong byte on either side shows as a disagreement in the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace simproto {

constexpr std::size_t kReportBytes = 8;       // every report, in and out, without its ID
constexpr std::uint8_t kMarker = 0x07;        // byte 0 of every command and reply

// The commands the mouse understands (byte 1 of a command report) and what
// it takes from them.
enum Command : std::uint8_t {
    kSetReportRate = 0x01,        // byte 2: the rate code
    kStreamButtonTable = 0x04,    // the next data reports fill the 40-byte button table
    kStreamMacroArea = 0x05,      // the next data reports fill the 3,020-byte macro area
    kStreamStages = 0x06,         // the next two data reports: X then Y of the five stages
    kSetUniversalScroll = 0x07,   // byte 3
    kSetLiftOff = 0x08,           // byte 3, and byte 4 as its trailer
    kSelectStage = 0x09,          // byte 3
    kSetLogo = 0x0A,              // byte 4
    kSetState = 0x17,             // byte 2
    kProbe = 0x80,                // replies 07 80 01 when it answers probes
    kReadBackQuery = 0x83,        // replies, encoded: 07 <ready> 28
    kReadBackRequest = 0x84,      // answers with four encoded input reports
    kStageQuery = 0x89,           // replies 07 89 <current stage>
};

constexpr std::size_t kButtonTableBytes = 40;
constexpr std::size_t kMacroAreaBytes = 3020;
constexpr std::uint8_t kButtonTableBytesCode = 0x28;  // byte 2 of the read-back query's reply
constexpr std::size_t kReadBackAnswers = 4;           // reports answering a read-back request

// Input reports the mouse sends.
constexpr std::uint8_t kVendorReportId = 0x00;       // 00 07 <event> ...
constexpr std::uint8_t kButtonEvent = 0x42;          // 00 07 42 00 <button> <1 down / 0 up> 00 00 00
constexpr std::uint8_t kLaunchEvent = 0xA3;          // 00 07 A3 19 5D 10 16 <button> 00
constexpr std::uint8_t kLaunchSignature[4] = {0x19, 0x5D, 0x10, 0x16};
constexpr std::uint8_t kFunctionReportId = 0x03;     // 03 <function> <parameter>

}  // namespace simproto
