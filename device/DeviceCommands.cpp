#include "device/DeviceCommands.h"

#include "contract/ButtonCodes.h"
#include "device/ButtonTable.h"
#include "device/DebugLines.h"
#include "device/DeviceList.h"
#include "device/HidApiBinding.h"
#include "device/HidDeviceBinding.h"
#include "device/ReadBackCollector.h"
#include "device/ReportFrame.h"
#include "device/WriteProgress.h"
#include "platform/Platform.h"

namespace {

// Waits between reports, in milliseconds.
constexpr DWORD kAfterTableReportMs = 10;
constexpr DWORD kAfterTableMs = 1000;
constexpr DWORD kAfterMacroBlockStartMs = 150;
constexpr DWORD kAfterMacroReportMs = 10;
constexpr DWORD kAfterButtonTableMs = 100;
constexpr DWORD kAfterStageReportMs = 100;
constexpr DWORD kAfterSelectStageMs = 50;
constexpr DWORD kAfterShortCommandMs = 20;
constexpr DWORD kAfterStateByteMs = 500;
constexpr DWORD kStageQueryMs = 200;
constexpr DWORD kApplySettleMs = 200;
constexpr DWORD kApplyEndMs = 100;
// With a progress bar, the long wait after the table goes in steps of this
// length, so the bar moves during it too.
constexpr DWORD kProgressWaitStepMs = 250;

constexpr int kProgressStart = 20;
constexpr int kProgressButtons = 50;
constexpr int kProgressLights = 60;
constexpr int kProgressDone = 80;

void Write(const ReportFrame& frame) {
    HidWriteCommand(CommandDeviceId(), frame.Report(), kReportSize);
}

void WriteData(const ReportFrame& frame) {
    HidWriteData(DataDeviceId(), frame.Report(), kReportSize);
}

// The reply to the last command, in a frame preset to 07 and zeros.
ReportFrame Read() {
    ReportFrame frame = MakeFrame({kCommandMarker});
    HidReadReply(CommandDeviceId(), frame.Report(), kReportSize);
    return frame;
}

// The link's wait when it has one (the full write keeps its dialog painted
// while it waits), else a plain sleep.
void Wait(const DeviceLink& link, DWORD ms) {
    if (link.Wait) link.Wait(ms);
    else Sys().Kernel.Sleep(ms);
}

std::uint8_t LowByte(std::int32_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

// The guard's two early results, or nothing when the operation may go on.
bool Guarded(const DeviceLink& link, std::int32_t noDevice, std::int32_t noCollection,
             std::int32_t& result) {
    switch (DeviceGuard(link)) {
    case GuardResult::NoDevice: result = noDevice; return true;
    case GuardResult::NoCollection: result = noCollection; return true;
    case GuardResult::Ready: break;
    }
    return false;
}

}  // namespace

std::uint8_t PollingRateCode(std::int32_t r) {
    if (r == 0) return 3;
    if (r == 1) return 1;
    return 0;
}

std::uint8_t ClampStage(std::int32_t n) {
    if (n < 0) return 0;
    if (n > 4) return 4;
    return static_cast<std::uint8_t>(n);
}

std::uint8_t LogoWireValue(std::int32_t ledLogoEnable) {
    return ledLogoEnable == kLogoOnValue ? kLogoOnWire : LowByte(ledLogoEnable);
}

std::int32_t SetPollingRate(const DeviceLink& link, std::int32_t r, void (*storeRate)(std::int32_t r)) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    if (storeRate != nullptr) storeRate(r);
    Write(MakeFrame({kCommandMarker, kCmdPollingRate, PollingRateCode(r)}));
    return 1;
}

std::int32_t WriteButtonTable(const DeviceLink& link, const ProfileRecord& profile) {
    return WriteButtonTable(link, profile, nullptr, 0, 0);
}

namespace {

// Every wait of the table's write, in milliseconds, as planned.
std::uint64_t PlannedButtonTableMs(bool hasMacros) {
    std::uint64_t ms = kButtonTableReports * kAfterTableReportMs + kAfterTableMs + kAfterButtonTableMs;
    if (!hasMacros) return ms;
    for (std::size_t j = 0; j < kMacroAreaReports; ++j) {
        if (IsMacroBlockStartReport(static_cast<int>(j))) ms += kAfterMacroBlockStartMs;
        ms += kAfterMacroReportMs;
    }
    return ms;
}

// A wait of the table's write, counted in the progress; a long one goes in
// steps when there is a bar to move.
void WaitAndStep(const DeviceLink& link, DWORD ms, WriteProgress& progress) {
    if (!progress.Active()) {
        Wait(link, ms);
        return;
    }
    while (ms > 0) {
        const DWORD step = ms > kProgressWaitStepMs ? kProgressWaitStepMs : ms;
        Wait(link, step);
        progress.Advance(step);
        ms -= step;
    }
}

}  // namespace

std::int32_t WriteButtonTable(const DeviceLink& link, const ProfileRecord& profile, ProgressSink* sink,
                              int from, int to) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    const ButtonTableImage image = BuildButtonTable(profile);
    WriteProgress progress(sink, from, to, PlannedButtonTableMs(image.HasMacros()));

    Write(MakeFrame({kCommandMarker, kCmdButtonTable, kParamOne, kButtonTableLength}));
    for (std::size_t k = 0; k < kButtonTableReports; ++k) {
        const ReportFrame frame = MakeDataFrame(image.Table.data() + k * kReportSize, kReportSize);
        Sys().Kernel.OutputDebugStringW(NineBytesLine(frame.Bytes.data(), kDecodeFrameSize));
        WriteData(frame);
        WaitAndStep(link, kAfterTableReportMs, progress);
    }
    WaitAndStep(link, kAfterTableMs, progress);
    if (!image.HasMacros()) {
        WaitAndStep(link, kAfterButtonTableMs, progress);
        return 1;
    }

    Write(MakeFrame({kCommandMarker, kCmdMacroArea, kParamOne, kMacroParam3, kMacroParam4, kMacroParam5}));
    for (std::size_t j = 0; j < kMacroAreaReports; ++j) {
        const std::size_t offset = j * kReportSize;
        WriteData(MakeDataFrame(image.MacroArea.data() + offset, kMacroAreaSize - offset));
        if (IsMacroBlockStartReport(static_cast<int>(j))) WaitAndStep(link, kAfterMacroBlockStartMs, progress);
        WaitAndStep(link, kAfterMacroReportMs, progress);
    }
    WaitAndStep(link, kAfterButtonTableMs, progress);
    return 1;
}

std::int32_t WriteResolutionStages(const DeviceLink& link, const ProfileRecord& profile,
                                   std::int32_t stage) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    ReportFrame x;
    ReportFrame y;
    for (int k = 0; k < kStageCount; ++k) {
        x.Report()[k] = LowByte(profile.DPIStageValue[k].X);
        y.Report()[k] = LowByte(profile.DPIStageValue[k].Y);
    }
    Write(MakeFrame({kCommandMarker, kCmdStages, kParamOne, kStageDataLength}));
    Wait(link, kAfterStageReportMs);
    WriteData(x);
    Wait(link, kAfterStageReportMs);
    WriteData(y);
    Wait(link, kAfterStageReportMs);
    Write(MakeFrame({kCommandMarker, kCmdSelectStage, kParamOne, ClampStage(stage)}));
    Wait(link, kAfterSelectStageMs);
    return 1;
}

std::int32_t SetUniversalScroll(const DeviceLink& link, const ProfileRecord& profile) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    Write(MakeFrame({kCommandMarker, kCmdUniversalScroll, kParamOne,
                     LowByte(profile.UniversalScrollEnabled)}));
    Wait(link, kAfterShortCommandMs);
    return 1;
}

std::int32_t SetLiftOff(const DeviceLink& link, std::int32_t value) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    Write(MakeFrame({kCommandMarker, kCmdLiftOff, kParamOne, LowByte(value), kLiftOffTrailer}));
    Wait(link, kAfterShortCommandMs);
    return 1;
}

std::int32_t SelectResolutionStage(const DeviceLink& link, std::int32_t stage) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    CurrentDeviceId.store(CommandDeviceId());
    Write(MakeFrame({kCommandMarker, kCmdSelectStage, kParamOne, ClampStage(stage)}));
    Wait(link, kAfterSelectStageMs);
    return 1;
}

std::int32_t SetLogoLight(const DeviceLink& link, const ProfileRecord& profile) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    CurrentDeviceId.store(CommandDeviceId());
    Write(MakeFrame({kCommandMarker, kCmdLogoLight, kParamOne, 0x00, LogoWireValue(profile.LEDLogoEnable)}));
    Wait(link, kAfterShortCommandMs);
    return 1;
}

std::int32_t SetStateByte(const DeviceLink& link, std::int32_t value) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    Write(MakeFrame({kCommandMarker, kCmdStateByte, LowByte(value)}));
    Wait(link, kAfterStateByteMs);
    return 1;
}

bool ProbeDevice() {
    Write(MakeFrame({kCommandMarker, kCmdProbe}));
    const ReportFrame reply = Read();
    return reply.Report()[1] != 0 || reply.Report()[2] != 0;
}

std::int32_t ReadBackQuery(const DeviceLink& link) {
    std::int32_t result = 0;
    if (Guarded(link, -1, 0, result)) return result;
    Write(MakeFrame({kCommandMarker, kCmdReadBackQuery}));
    ReportFrame reply = Read();
    CallDecodeSecrecy(reply.Bytes.data());
    return reply.Report()[1];
}

std::int32_t RequestReadBack(const DeviceLink& link, std::atomic<std::int32_t>& shortReadBusy) {
    std::int32_t result = 0;
    if (Guarded(link, -1, 0, result)) return result;
    Sys().Windows.SetCursor(Sys().Windows.LoadCursorW(nullptr, kCursorIdWait));
    // Armed before the request goes out: the answers come on the library's
    // thread and may arrive before the write returns.
    ReadBack.Arm(shortReadBusy, Sys().Kernel.GetTickCount());
    Write(MakeFrame({kCommandMarker, kCmdReadBackRequest, kParamOne, kReadBackRequestLength}));
    return 0;
}

std::int32_t ReadResolutionStage(const DeviceLink& link) {
    std::int32_t result = 0;
    if (Guarded(link, -1, 0, result)) return result;
    Write(MakeFrame({kCommandMarker, kCmdStageQuery, kParamOne}));
    Wait(link, kStageQueryMs);
    const ReportFrame reply = Read();
    Wait(link, kStageQueryMs);
    return reply.Report()[2];
}

std::int32_t ApplyProfileToDevice(const DeviceLink& link, const ProfileRecord& profile,
                                  ProgressSink* progress) {
    std::int32_t result = 0;
    if (Guarded(link, 0, 0, result)) return result;
    // The table's write steps the bar itself; a position it reached already
    // is not set again.
    struct Reached final : ProgressSink {
        ProgressSink* sink;
        int last = -1;
        void SetProgress(int position) override {
            if (position == last || sink == nullptr) return;
            last = position;
            sink->SetProgress(position);
        }
    } reached;
    reached.sink = progress;
    auto report = [&reached](int position) { reached.SetProgress(position); };
    report(kProgressStart);
    Wait(link, kApplySettleMs);
    WriteButtonTable(link, profile, &reached, kProgressStart, kProgressButtons);
    report(kProgressButtons);
    SetLogoLight(link, profile);
    SetUniversalScroll(link, profile);
    report(kProgressLights);
    WriteResolutionStages(link, profile, profile.DPI);
    SetLiftOff(link, profile.LIFT);
    Wait(link, kApplyEndMs);
    report(kProgressDone);
    return 1;
}
