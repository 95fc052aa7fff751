// The simulated mouse itself: the memory the service writes into, the
// answers to the command reports, and the input reports the mouse sends.
// Plain logic with no threads and no locks: SimHidLibrary serialises access.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "contract/HidLibrary.h"
#include "hidsim/SimMouseConfig.h"
#include "hidsim/SimProtocol.h"
#include "platform/WinTypes.h"

// Device ids the simulated library hands out for the two collections.
constexpr DWORD kSimCommandDeviceId = 0x2A01;
constexpr DWORD kSimDataDeviceId = 0x2A02;
// Report ID of the answers to a read-back request (payload encoded).
constexpr std::uint8_t kSimReadBackReportId = 0x05;
constexpr std::size_t kSimReadBackReportLength = 9;
// Decoded reply to the read-back query: byte 1 says a button table is held.
constexpr std::uint8_t kSimReadBackReady = 0x01;

struct SimMemory {
    std::uint8_t ReportRate = 0;
    std::uint8_t StageX[5] = {};
    std::uint8_t StageY[5] = {};
    std::uint8_t CurrentStage = 0;
    std::uint8_t LiftOff = 0;
    std::uint8_t LiftOffTrailer = 0;
    std::uint8_t Logo = 0;
    std::uint8_t UniversalScroll = 0;
    std::uint8_t StateByte = 0;
    std::uint8_t ButtonTable[simproto::kButtonTableBytes] = {};
    std::uint8_t MacroArea[simproto::kMacroAreaBytes] = {};
};

// One report the mouse received, with the time it arrived.
struct SimReceivedReport {
    std::uint64_t Time = 0;      // milliseconds of the library's clock
    DWORD Usage = 0;             // kCommandUsage or kDataUsage
    std::array<std::uint8_t, simproto::kReportBytes> Bytes{};
};

// "<time> <usage> b0 b1 ... b7", e.g. "1500 ff01 07 17 00 00 00 00 00 00".
std::string FormatReceivedReport(const SimReceivedReport& report);
// A report the mouse sends to the host, as its log line: "<ms> input b0 b1 ..."
// with every byte of the report.
std::string FormatSentReport(std::uint64_t time, const std::vector<std::uint8_t>& report);

// Input reports the mouse can send.
std::vector<std::uint8_t> SimButtonReport(int buttonIndex, bool pressed);
std::vector<std::uint8_t> SimLaunchReport(int buttonIndex);
std::vector<std::uint8_t> SimFunctionReport(std::uint8_t function, std::uint8_t parameter);

class SimMouse {
public:
    // A command report (to the command collection). Sets the pending reply
    // and may queue input reports (the read-back answers).
    void ReceiveCommand(const std::uint8_t* report);
    // A data report (to the data collection), streamed into the area the
    // last command opened.
    void ReceiveData(const std::uint8_t* report);

    // The reply to the last command that has one; false when none.
    bool Reply(std::uint8_t* reply) const;
    // Input reports produced by commands since the last call.
    std::vector<std::vector<std::uint8_t>> TakeProducedReports();

    void SetAnswers(const SimMouseAnswers& answers) { answers_ = answers; }
    const SimMemory& Memory() const { return memory_; }
    SimMemory& Memory() { return memory_; }

private:
    enum class Stream { None, ButtonTable, MacroArea, StageX, StageY };

    void SetReply(std::initializer_list<std::uint8_t> bytes, bool encoded);

    SimMemory memory_;
    SimMouseAnswers answers_;
    Stream stream_ = Stream::None;
    std::size_t streamOffset_ = 0;
    bool hasReply_ = false;
    std::array<std::uint8_t, simproto::kReportBytes> reply_{};
    std::vector<std::vector<std::uint8_t>> produced_;
};
