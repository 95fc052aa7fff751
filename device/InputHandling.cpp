#include "device/InputHandling.h"

#include <cstdio>

#include "device/DebugLines.h"
#include "device/DeviceProtocol.h"
#include "device/HidApiBinding.h"
#include "device/InputDecoding.h"
#include "device/ReadBackCollector.h"
#include "platform/Platform.h"

namespace {

Text IdentityLine(DWORD identifier, const std::uint8_t* report, std::size_t length) {
    char line[96];
    std::snprintf(line, sizeof line, "ID:%lx,pBuffer=%llx , Length=%llx\n",
                  static_cast<unsigned long>(identifier),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(report)),
                  static_cast<unsigned long long>(length));
    return TextFromUtf8(line);
}

void Route(InputRoutes& routes, const RoutedAction& action) {
    switch (action.Action) {
    case InputAction::ButtonPressed: routes.ButtonPressed(action.Argument); break;
    case InputAction::ButtonReleased: routes.ButtonReleased(action.Argument); break;
    case InputAction::ReleaseLogged: break;
    case InputAction::LaunchAssignedProgram: routes.LaunchAssignedProgram(action.Argument); break;
    case InputAction::SendWheelUp: routes.SendWheelUp(); break;
    case InputAction::SendWheelDown: routes.SendWheelDown(); break;
    case InputAction::ScrollUnderPointer: routes.ScrollUnderPointer(action.Argument); break;
    case InputAction::ZoomIn: routes.ZoomIn(); break;
    case InputAction::ZoomOut: routes.ZoomOut(); break;
    }
}

}  // namespace

int WheelScrollChars() {
    UINT chars = 0;
    if (!Sys().Windows.SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0)) return kDefaultWheelScrollChars;
    return static_cast<int>(chars);
}

void HandleInputReport(const InputContext& context, DWORD identifier, const std::uint8_t* report,
                       std::size_t length) {
    if (report == nullptr) length = 0;
    Sys().Kernel.OutputDebugStringW(IdentityLine(identifier, report, length));
    Sys().Kernel.OutputDebugStringW(NineBytesLine(report, length));
    const int wheelScrollChars = WheelScrollChars();

    const DecodedInput decoded = DecodeInputReport(report, length, wheelScrollChars);
    for (std::size_t i = 0; i < decoded.Count; ++i) {
        if (decoded.Actions[i].Action == InputAction::ReleaseLogged)
            Sys().Kernel.OutputDebugStringW(u"1");
        else if (context.Routes != nullptr)
            Route(*context.Routes, decoded.Actions[i]);
    }

    if (context.ShortReadBusy != nullptr && context.BulkReadBusy != nullptr)
        ReadBack.Gather(report, length, *context.ShortReadBusy, *context.BulkReadBusy, &CallDecodeSecrecy,
                        Sys().Kernel.GetTickCount());
}
