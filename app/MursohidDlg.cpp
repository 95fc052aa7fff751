#include "app/MursohidDlg.h"

#include <string>

#include "actions/ActionTimers.h"
#include "actions/HorizontalScrolling.h"
#include "actions/MacroWorker.h"
#include "app/MainWindowState.h"
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
    return static_cast<DWORD>(static_cast<CMursohidDlg*>(mainWindow)->RunMacroWorker());
}

// Registered with the library; runs on the library's thread.
void HID_CALLBACK InputCallback(DWORD identifier, const BYTE* report, DWORD length) {
    if (CMursohidDlg* window = MainWindow.load()) window->HandleInputReport(identifier, report, length);
    else HandleInputReport(InputContext{}, identifier, report, length);
}

}  // namespace

const MessageMapEntry<CMursohidDlg> CMursohidDlg::kMessageMap[] = {
    OnMessage(WM_CREATE, &CMursohidDlg::OnCreate),
    OnMessage(WM_DESTROY, &CMursohidDlg::OnDestroy),
    OnMessage(WM_TIMER, &CMursohidDlg::OnTimer),
    OnMessage(kMsgDeviceNotification, &CMursohidDlg::OnDeviceNotification),
    OnMessage(kMsgReadStage, &CMursohidDlg::OnReadStage),
    OnMessage(kMsgSetPollingRate, &CMursohidDlg::OnSetPollingRate),
    OnMessage(kMsgSetLiftOff, &CMursohidDlg::OnSetLiftOff),
    OnMessage(kMsgWriteStages, &CMursohidDlg::OnWriteStages),
    OnMessage(kMsgSetStateByte, &CMursohidDlg::OnSetStateByte),
    OnMessage(kMsgSetLogoLight, &CMursohidDlg::OnSetLogoLight),
    OnMessage(kMsgSetUniversalScroll, &CMursohidDlg::OnSetUniversalScroll),
    OnMessage(kMsgNoAction, &CMursohidDlg::OnNoAction),
    OnMessage(kMsgAdoptDeviceImage, &CMursohidDlg::OnAdoptDeviceImage),
    OnMessage(kMsgReloadSettings, &CMursohidDlg::OnReloadSettings),
    OnMessage(kMsgMouseData, &CMursohidDlg::OnMouseData),
    OnMessage(WM_DEVICECHANGE, &CMursohidDlg::OnDeviceChange),
    OnMessage(WM_WTSSESSION_CHANGE, &CMursohidDlg::OnSessionChange),
    OnMessage(kMsgFullWrite, &CMursohidDlg::OnFullWrite),
};

bool CMursohidDlg::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result) ||
           CWnd::ProcessMessageMap(message, wParam, lParam, result);
}

CMursohidDlg::CMursohidDlg() : state_(std::make_unique<State>()) {}

CMursohidDlg::~CMursohidDlg() {
    CMursohidDlg* self = this;
    MainWindow.compare_exchange_strong(self, nullptr);
    if (Scrolling() == &state_->Scrolling) SetScrolling(nullptr);
}

int CMursohidDlg::RunMacroWorker() { return ::RunMacroWorker(state_->Actions); }

SettingsStore& CMursohidDlg::Settings() { return state_->Settings; }
DeviceSession& CMursohidDlg::Device() { return state_->Device; }

BOOL CMursohidDlg::CreateServiceWindow() {
    return CreateEx(0, kServiceWindowClass, kServiceWindowTitle, WS_POPUP, kWindowX, kWindowY,
                    kWindowSize, kWindowSize, nullptr);
}

LRESULT CMursohidDlg::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (OnCreateDefault() == -1) return -1;
    state_->Actions.SetWindow(m_hWnd);
    SetScrolling(&state_->Scrolling);

    DWORD workerId = 0;
    state_->WorkerThread = Sys().Kernel.CreateThread(kWorkerStackSize, MacroWorkerThread, this, &workerId);
    WorkerThreadId.store(workerId);

    ResolveFolders();
    ProvisionFirstRun();

    BindHidApi();
    CallSavePCtimerWithInDLL();

    MainWindow.store(this);

    state_->MouseKey.Open(kMouseRegistryPath, KEY_ALL_ACCESS);

    ReloadSettings();

    Sys().Windows.SetTimer(m_hWnd, kPeriodicTimerId, kPeriodicTimerMs);
    StartForegroundEvents();
    Sys().Windows.SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOOLWINDOW));

    DeviceSession& device = state_->Device;
    device.Bind(m_hWnd, kMsgDeviceNotification, &InputCallback);
    device.SetOpen(0);
    const std::int32_t opened = OpenDeviceWithOwnReactions();

    if (opened != 0) {
        Sys().Kernel.Sleep(kTrayLaunchDelayMs);
        LaunchTrayProgram();
        Sys().Kernel.Sleep(kAfterTrayLaunchMs);
    }

    WritePlug(opened != 0 ? 1 : 0);
    state_->Settings.WriteAllSettings();
    return 0;
}

LRESULT CMursohidDlg::OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    StopForegroundEvents();
    if (HWND config = Sys().Windows.FindWindowW(Text(), kConfigProgramTitle))
        Sys().Windows.PostMessageW(config, WM_CLOSE, 0, 0);
    if (HWND tray = Sys().Windows.FindWindowW(Text(), kTrayProgramTitle))
        Sys().Windows.PostMessageW(tray, WM_CLOSE, 0, 0);

    state_->Device.SetStateByte(0);
    Sys().Kernel.Sleep(kShutdownSettleMs);
    Sys().Kernel.Sleep(kShutdownReleaseMs);
    // Reports that still come in are no longer routed to this window.
    MainWindow.store(nullptr);
    state_->Device.CloseDevice();

    Sys().Shell.CoUninitialize();
    return Default(message, wParam, lParam);
}

LRESULT CMursohidDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    const auto id = static_cast<UINT_PTR>(wParam);
    if (id == kPeriodicTimerId)
        WatchForeground();
    else if (!HandleReadBackTimer(id))
        HandleActionTimer(id);
    handled = FALSE;  // every tick then goes on to default processing
    return 0;
}

void CMursohidDlg::LaunchTrayProgram() {
    const Text exePath = Sys().Kernel.GetModuleFileNameW();
    const auto slash = exePath.find_last_of(u'\\');
    const Text folder = slash == Text::npos ? exePath : exePath.substr(0, slash);
    const Text trayPath = folder + u"\\" + kTrayProgramFile;
    Sys().Shell.ShellExecuteW(nullptr, u"open", trayPath, Text(), Text(), SW_SHOW);
}

void CMursohidDlg::ReloadSettings() {
    state_->Settings.ReloadSettings();
    Sys().Kernel.OutputDebugStringW(u"RELOADSETTINGS:profile=" +
                                    TextFromUtf8(std::to_string(state_->Settings.Working().Profile)));
}

std::int32_t CMursohidDlg::SetPollingRate(std::int32_t rateIndex) {
    ReloadSettings();
    // The rate goes into the settings file only when the mouse is there.
    return state_->Device.SetPollingRate(rateIndex, &WritePollingRate);
}

void CMursohidDlg::HandleInputReport(DWORD identifier, const BYTE* report, DWORD length) {
    DeviceSession& device = state_->Device;
    const bool shortBefore = device.ShortReadPending();
    const bool bulkBefore = device.BulkReadPending();
    device.HandleInputReport(&state_->Routes, identifier, report, length);
    // Only the last of the four answers completes the collection; a report
    // that comes too late ends it without data.
    const bool shortComplete = !device.ShortReadPending() && device.ShortReadBackState() == ReadBackState::Complete;
    state_->ReadBackProgress.ReportHandled(ReadBackCollection::Short, shortBefore, !shortComplete);
    state_->ReadBackProgress.ReportHandled(ReadBackCollection::Bulk, bulkBefore, device.BulkReadPending());
}

void CMursohidDlg::PostToSibling(const char16_t* title, UINT message, WPARAM wParam) {
    if (HWND sibling = Sys().Windows.FindWindowW(Text(), title)) Sys().Windows.PostMessageW(sibling, message, wParam, 0);
}

void CMursohidDlg::CloseTrayProgram() { PostToSibling(kTrayProgramTitle, WM_CLOSE, 0); }

void CMursohidDlg::NotifyMouseRemoved() { PostToSibling(kConfigProgramTitle, kNotifyMouseRemoved, 0); }

std::int32_t CMursohidDlg::OpenDeviceWithOwnReactions() {
    state_->OpeningDevice = true;
    const std::int32_t opened = state_->Device.OpenDevice();
    state_->OpeningDevice = false;
    return opened;
}
