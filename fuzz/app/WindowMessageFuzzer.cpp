// The main window's procedure driven with arbitrary messages and parameters,
// as any program on the desktop may post them, between plug and unplug
// events of the simulated mouse. A record is 18 bytes: an action byte, a
// message selector byte, then wParam and lParam (8 bytes each,
// little-endian).
//   action & 3 == 0: send the message; 1: post it and run the queue;
//   2: plug or unplug the mouse (bit 2) and run the queue; 3: let 100 ms of
//   timers run.
// The selector picks one of the service's own messages, or, with its top
// bit set, any message number from its low bits and the low byte of wParam.
// Messages that create or end the window are left out: they are the
// system's, and a closed window takes no further messages.
//
// Starting the service writes the whole settings file key by key, which
// under the sanitizers takes about a second; so one service on the fake
// platform serves many inputs. Each input starts from the settings file and
// the plugged-in mouse of start-up; the service is built afresh every
// kInputsPerService inputs so that the fake's records stay small.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <mutex>

#include "app/MursohidDlg.h"
#include "contract/Messages.h"
#include "contract/Names.h"
#include "config/DataFolder.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ProcessReset.h"

namespace {

constexpr UINT kServiceMessages[] = {kMsgDeviceNotification, kMsgReadStage, kMsgFullWrite, kMsgSetPollingRate,
                                     kMsgSetLiftOff, kMsgWriteStages, kMsgSetStateByte, kMsgSetLogoLight,
                                     kMsgSetUniversalScroll, kMsgNoAction, kMsgAdoptDeviceImage,
                                     kMsgReloadSettings, kMsgMouseData, 0x219, 0x2B1, WM_TIMER, WM_NULL};
constexpr std::size_t kRecordSize = 18;
constexpr std::size_t kMaxRecords = 64;

// Forged creation and destruction messages are refused and stay in the
// mix; only a close, the session's end or a quit end the service.
bool EndsTheWindow(UINT message) {
    return message == WM_CLOSE || message == WM_QUIT || message == WM_ENDSESSION;
}

std::uint64_t Read64(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

namespace {

constexpr int kInputsPerService = 1000;

struct Service {
    Service() {
        ResetProcessState();
        SetPlatform(&fake);
        fake.windows.AddForeignWindow(kConfigProgramTitle);
        fake.windows.AddForeignWindow(kReadBackProgramTitle);
        fake.windows.AddForeignWindow(kTrayProgramTitle);
        window = new CMursohidDlg;
        if (!window->CreateServiceWindow()) __builtin_trap();
        settingsPath = DataFolder() + u"config.ini";
        settings = fake.files.File(settingsPath).value_or(std::string());
    }
    ~Service() {
        window->DestroyWindow();
        delete window;
        mouse->WaitUntilDelivered();
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }
    // Back to the state after start-up, as far as inputs can change it.
    void Restore() {
        mouse->WaitUntilDelivered();
        fake.windows.PumpMessages();
        if (fake.files.File(settingsPath) != settings) {
            fake.files.AddFile(settingsPath, settings);
            fake.windows.SendMessageW(window->m_hWnd, kMsgReloadSettings, 0, 0);
        }
        if (!mouse->Plugged()) mouse->Plug();
        mouse->WaitUntilDelivered();
        fake.windows.PumpMessages();
        fake.ClearCalls();
        std::lock_guard<std::recursive_mutex> guard(fake.world.lock);
        fake.world.debugLines.clear();
    }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
    CMursohidDlg* window = nullptr;
    Text settingsPath;
    std::string settings;
};

Service* g_service = nullptr;
int g_inputs = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (g_service == nullptr || ++g_inputs % kInputsPerService == 0) {
        delete g_service;
        g_service = new Service;
    }
    Service& service = *g_service;
    FakePlatform& fake = service.fake;
    SimulatedMouse& mouse = service.mouse;
    const HWND hwnd = service.window->m_hWnd;
    service.Restore();

    for (std::size_t at = 0, n = 0; at + kRecordSize <= size && n < kMaxRecords; at += kRecordSize, ++n) {
        const std::uint8_t action = data[at];
        const std::uint8_t selector = data[at + 1];
        const WPARAM wParam = static_cast<WPARAM>(Read64(data + at + 2));
        const LPARAM lParam = static_cast<LPARAM>(Read64(data + at + 10));
        UINT message = (selector & 0x80) ? static_cast<UINT>(((selector & 0x7F) << 8) | (wParam & 0xFF))
                                         : kServiceMessages[selector % std::size(kServiceMessages)];
        if (EndsTheWindow(message)) message = WM_NULL;
        switch (action & 3) {
        case 0: fake.windows.SendMessageW(hwnd, message, wParam, lParam); break;
        case 1:
            fake.windows.PostMessageW(hwnd, message, wParam, lParam);
            fake.windows.PumpMessages();
            break;
        case 2:
            if (action & 4) mouse->Plug(); else mouse->Unplug();
            fake.windows.PumpMessages();
            break;
        case 3: fake.windows.RunFor(100); break;
        }
        mouse->WaitUntilDelivered();
        fake.windows.PumpMessages();
        // Whatever came, the service is still there.
        if (fake.windows.FindWindowW(Text(), kServiceWindowTitle) != hwnd) __builtin_trap();
    }
    return 0;
}
