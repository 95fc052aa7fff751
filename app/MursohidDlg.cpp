#include "app/MursohidDlg.h"

#include "actions/HeldInput.h"
#include "contract/Messages.h"
#include "contract/Timers.h"
#include "app/ProcessState.h"
#include "contract/Names.h"
#include "app/SiblingPrograms.h"
#include "config/DataFolder.h"
#include "config/SettingsFile.h"
#include "device/HidApiBinding.h"

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWindowSize = 100;
constexpr DWORD kShutdownSettleMs = 50;
constexpr DWORD kShutdownReleaseMs = 1000;

// Registered with the library; runs on the library's thread.
void HID_CALLBACK InputCallback(DWORD identifier, const BYTE* report, DWORD length) {
    if (CMursohidDlg* window = MainWindow.load()) window->HandleInputReport(identifier, report, length);
    else HandleInputReport(InputContext{}, identifier, report, length);
}

}  // namespace

const MessageMapEntry<CMursohidDlg> CMursohidDlg::kMessageMap[] = {
    OnMessage(WM_CREATE, &CMursohidDlg::OnCreate),
    OnMessage(WM_DESTROY, &CMursohidDlg::OnDestroy),
    OnWParam<&CMursohidDlg::OnEndSession>(WM_ENDSESSION),
    ChainToMember<&CMursohidDlg::controls_>(),
    ChainToMember<&CMursohidDlg::presence_>(),
    ChainToMember<&CMursohidDlg::foreground_>(),
    ChainToMember<&CMursohidDlg::fullWrite_>(),
    ChainToMember<&CMursohidDlg::readBack_>(),
    ChainToMember<&CMursohidDlg::buttons_>(),
};

bool CMursohidDlg::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (gate_.Keep(message, wParam, lParam)) {
        result = 0;
        return true;
    }
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result) ||
           CWnd::ProcessMessageMap(message, wParam, lParam, result);
}

CMursohidDlg::~CMursohidDlg() {
    CMursohidDlg* self = this;
    MainWindow.compare_exchange_strong(self, nullptr);
}

DWORD PLATFORM_THREAD_CALL CMursohidDlg::MacroWorker(void* mainWindow) {
    return static_cast<DWORD>(static_cast<CMursohidDlg*>(mainWindow)->buttons_.RunMacroWorker());
}

BOOL CMursohidDlg::CreateServiceWindow() {
    return CreateEx(0, kServiceWindowClass, kServiceWindowTitle, WS_POPUP, kWindowX, kWindowY,
                    kWindowSize, kWindowSize, nullptr);
}

LRESULT CMursohidDlg::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (OnCreateDefault() == -1) return -1;
    BarMacros(false);
    buttons_.Start(m_hWnd, &CMursohidDlg::MacroWorker, this);
    readBack_.SetWindow(m_hWnd);
    presence_.SetWindow(m_hWnd);

    ResolveFolders();
    ProvisionFirstRun();

    BindHidApi();
    CallSavePCtimerWithInDLL();

    MainWindow.store(this);

    mouseKey_.Open(kMouseRegistryPath, KEY_ALL_ACCESS);

    settings_.ReloadSettings();

    foreground_.Start(m_hWnd, &gate_);
    Sys().Windows.SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOOLWINDOW));

    device_.Bind(m_hWnd, kMsgDeviceNotification, &InputCallback);
    const std::int32_t opened = presence_.OpenAtStartup();

    WritePlug(opened != 0 ? 1 : 0);
    settings_.WriteAllSettings();
    return 0;
}

LRESULT CMursohidDlg::OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    // A macro playing on the input thread ends after its event in progress:
    // closing the mouse below waits for that thread.
    BarMacros(true);
    foreground_.Stop();
    buttons_.EndEverythingHeld();
    PostToSibling(kConfigProgramTitle, WM_CLOSE, 0);
    PostToSibling(kTrayProgramTitle, WM_CLOSE, 0);

    device_.SetStateByte(0);
    Sys().Kernel.Sleep(kShutdownSettleMs);
    Sys().Kernel.Sleep(kShutdownReleaseMs);
    // Reports that still come in are no longer routed to this window.
    MainWindow.store(nullptr);
    device_.CloseDevice();
    // No report comes in any more: the worker has nothing left to play.
    buttons_.Stop();

    Sys().Shell.CoUninitialize();
    return Default(message, wParam, lParam);
}

LRESULT CMursohidDlg::OnEndSession(WPARAM wParam, BOOL&) {
    if (wParam != 0) DestroyWindow();
    return 0;
}

void CMursohidDlg::HandleInputReport(DWORD identifier, const BYTE* report, DWORD length) {
    readBack_.FeedInputReport(buttons_.Routes(), identifier, report, length);
}
