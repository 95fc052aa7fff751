#include "app/MursohidDlg.h"

#include <cstring>

#include "actions/MacroWorker.h"
#include "app/Messages.h"
#include "app/ProcessState.h"
#include "app/ServiceNames.h"
#include "config/DataFolder.h"
#include "config/SettingsFile.h"
#include "device/HidApiBinding.h"

namespace {

constexpr std::size_t kWorkerStackSize = 4096;
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWindowSize = 100;
constexpr DWORD kTrayLaunchDelayMs = 2000;
constexpr DWORD kAfterTrayLaunchMs = 50;
constexpr DWORD kShutdownSettleMs = 50;
constexpr DWORD kShutdownReleaseMs = 1000;

DWORD PLATFORM_THREAD_CALL MacroWorkerThread(void* mainWindow) {
    return static_cast<DWORD>(MacroWorker(static_cast<CMursohidDlg*>(mainWindow)));
}

}  // namespace

struct CMursohidDlgMap {
    static constexpr MessageMapEntry<CMursohidDlg> kEntries[] = {
        {WM_CREATE, &CMursohidDlg::OnCreate},
        {WM_DESTROY, &CMursohidDlg::OnDestroy},
    };
};

CMursohidDlg::CMursohidDlg() {
    std::memset(BulkReceiveBuffer, 0, sizeof BulkReceiveBuffer);
    std::memset(BulkReadBackSlots, 0, sizeof BulkReadBackSlots);
    std::memset(ShortReadBackSlots, 0, sizeof ShortReadBackSlots);
    std::memset(&SettingsSnapshot, 0, sizeof SettingsSnapshot);
    std::memset(&WorkingSettings, 0, sizeof WorkingSettings);
    std::memset(&DeviceSettingsImage, 0, sizeof DeviceSettingsImage);
}

CMursohidDlg::~CMursohidDlg() {
    CMursohidDlg* self = this;
    MainWindow.compare_exchange_strong(self, nullptr);
}

BOOL CMursohidDlg::CreateServiceWindow() {
    return CreateEx(0, kServiceWindowClass, kServiceWindowTitle, WS_POPUP, kWindowX, kWindowY,
                    kWindowSize, kWindowSize, nullptr);
}

bool CMursohidDlg::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, CMursohidDlgMap::kEntries, message, wParam, lParam, result) ||
           CWnd::ProcessMessageMap(message, wParam, lParam, result);
}

LRESULT CMursohidDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgDeviceNotification) {
        OnDeviceNotification(wParam, lParam);
        return Default(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CMursohidDlg::OnCreate(WPARAM, LPARAM) {
    if (OnCreateDefault() == -1) return -1;

    DWORD workerId = 0;
    WorkerThread = Sys().CreateThread(kWorkerStackSize, MacroWorkerThread, this, &workerId);
    WorkerThreadId.store(workerId);

    ResolveFolders();
    ProvisionFirstRun();

    BindHidApi();
    CallSavePCtimerWithInDLL();

    MainWindow.store(this);

    MouseKey.Open(kMouseRegistryPath, KEY_ALL_ACCESS);

    ReloadSettings();

    Sys().SetTimer(m_hWnd, kPeriodicTimerId, kPeriodicTimerMs);
    Sys().SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOOLWINDOW));

    DeviceOpen.store(0);
    const std::int32_t opened = OpenDevice();
    DeviceOpen.store(opened);

    if (opened != 0) {
        Sys().Sleep(kTrayLaunchDelayMs);
        LaunchTrayProgram();
        Sys().Sleep(kAfterTrayLaunchMs);
    }

    WritePlug(opened != 0 ? 1 : 0);
    WriteAllSettingsFromRecords();
    return 0;
}

LRESULT CMursohidDlg::OnDestroy(WPARAM, LPARAM) {
    if (HWND config = Sys().FindWindowW(Text(), kConfigProgramTitle))
        Sys().PostMessageW(config, WM_CLOSE, 0, 0);
    if (HWND tray = Sys().FindWindowW(Text(), kTrayProgramTitle))
        Sys().PostMessageW(tray, WM_CLOSE, 0, 0);

    SetStateByte(0);
    Sys().Sleep(kShutdownSettleMs);
    Sys().Sleep(kShutdownReleaseMs);
    // Reports that still come in are no longer routed to this window.
    MainWindow.store(nullptr);
    CloseDevice();

    if (ProgressDialog != nullptr) {
        ProgressDialog->DestroyWindow();
        delete ProgressDialog;
        ProgressDialog = nullptr;
    }
    Sys().CoUninitialize();
    return Default(WM_DESTROY, 0, 0);
}

void CMursohidDlg::LaunchTrayProgram() {
    const Text exePath = Sys().GetModuleFileNameW();
    const auto slash = exePath.find_last_of(u'\\');
    const Text folder = slash == Text::npos ? exePath : exePath.substr(0, slash);
    const Text trayPath = folder + u"\\" + kTrayProgramFile;
    Sys().ShellExecuteW(nullptr, u"open", trayPath, Text(), Text(), SW_SHOW);
}
