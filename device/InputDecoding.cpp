#include "device/InputDecoding.h"

#include "device/DeviceProtocol.h"

namespace {

bool IsButtonIndex(int index) { return index >= 0 && index <= kLastButtonIndex; }

void DecodeVendorEvent(const std::uint8_t* r, DecodedInput& out) {
    // Press, release and launch are tested independently, in this order.
    const bool buttonEvent = r[1] == kCommandMarker && r[2] == kVendorEventButton && r[6] == 0 &&
                             r[7] == 0 && r[8] == 0 && IsButtonIndex(r[4]);
    if (buttonEvent && r[5] == kButtonPressed) {
        out.Add(InputAction::ButtonPressed, r[4]);
        if (r[4] >= kFirstAutoReleaseButton) out.Add(InputAction::ButtonReleased, r[4]);
    }
    if (buttonEvent && r[5] == kButtonReleased) {
        out.Add(InputAction::ButtonReleased, r[4]);
        out.Add(InputAction::ReleaseLogged);
    }
    const bool launch = r[1] == kCommandMarker && r[2] == kVendorEventLaunch &&
                        r[3] == kLaunchSignature[0] && r[4] == kLaunchSignature[1] &&
                        r[5] == kLaunchSignature[2] && r[6] == kLaunchSignature[3] && IsButtonIndex(r[7]);
    if (launch) out.Add(InputAction::LaunchAssignedProgram, r[7]);
}

void DecodeFunctionReport(const std::uint8_t* r, std::size_t length, int l, DecodedInput& out) {
    if (length < 2) return;
    switch (r[1]) {
    case kFunctionWheelUp: out.Add(InputAction::SendWheelUp); break;
    case kFunctionWheelDown: out.Add(InputAction::SendWheelDown); break;
    case kFunctionScrollLeft: out.Add(InputAction::ScrollUnderPointer, l); break;
    case kFunctionScrollRight: out.Add(InputAction::ScrollUnderPointer, -l); break;
    case kFunctionZoomIn: out.Add(InputAction::ZoomIn); break;
    case kFunctionZoomOut: out.Add(InputAction::ZoomOut); break;
    case kFunctionLaunch:
        if (length >= 3 && IsButtonIndex(r[2])) out.Add(InputAction::LaunchAssignedProgram, r[2]);
        break;
    default: break;
    }
}

}  // namespace

DecodedInput DecodeInputReport(const std::uint8_t* report, std::size_t length, int wheelScrollChars) {
    DecodedInput out;
    if (report == nullptr || length == 0) return out;
    if (length == kVendorEventLength && report[0] == kVendorReportId) DecodeVendorEvent(report, out);
    if (report[0] == kFunctionReportId) DecodeFunctionReport(report, length, wheelScrollChars, out);
    return out;
}
