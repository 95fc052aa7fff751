// The input callback's handling of arbitrary reports: any length, any bytes,
// with or without a pending read-back collection. The first byte chooses the
// collection flags and whether the wheel-scroll-characters query fails; the
// rest is the report.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/HidApiBinding.h"
#include "device/InputDecoding.h"
#include "device/InputHandling.h"
#include "device/ReadBackCollector.h"
#include "hidsim/Secrecy.h"
#include "platform/fake/FakePlatform.h"

namespace {

class CheckingRoutes final : public InputRoutes {
public:
    void ButtonPressed(int i) override { Check(i); }
    void ButtonReleased(int i) override { Check(i); }
    void LaunchAssignedProgram(int i) override { Check(i); }
    void SendWheelUp() override {}
    void SendWheelDown() override {}
    void ScrollUnderPointer(int) override {}
    void ZoomIn() override {}
    void ZoomOut() override {}

private:
    static void Check(int index) {
        if (index < 0 || index > 9) __builtin_trap();
    }
};

int Decode(std::uint8_t* frame) {
    secrecy::DecodeFrame(frame);
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t control = data[0];
    // An exact-size copy so that any read past the report is caught.
    const std::vector<std::uint8_t> report(data + 1, data + size);

    FakePlatform fake;
    SetPlatform(&fake);
    if (control & 4) fake.windows.SetWheelScrollChars(std::nullopt);
    HidApiBinding.DecodeSecrecy_V11 = (control & 8) ? nullptr : reinterpret_cast<void*>(&Decode);

    CheckingRoutes routes;
    std::atomic<std::int32_t> shortBusy{control & 1};
    std::atomic<std::int32_t> bulkBusy{(control >> 1) & 1};
    const InputContext context{&routes, &shortBusy, &bulkBusy};
    HandleInputReport(context, 0x2A01, report.empty() ? nullptr : report.data(), report.size());

    const DecodedInput decoded = DecodeInputReport(report.data(), report.size(), 3);
    if (decoded.Count > DecodedInput::kMaxActions) __builtin_trap();
    if (ReadBack.Counter() < 0 || ReadBack.Counter() >= 4) __builtin_trap();
    SetPlatform(nullptr);
    return 0;
}
