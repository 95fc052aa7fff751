// The package as a user meets it, through the system's msiexec without any
// user interface: install puts the installation and the Run key in place
// and starts the service; the Run key's command starts a service that finds
// the (simulated) mouse; a newer package replaces the files, stopping and
// restarting the service, and leaves the user's data untouched; an older
// package does not install over a newer one; removal stops the service
// cleanly and takes away the files and the Run key only, and a service that
// does not close holds it up for a bounded time only.
#include <gtest/gtest.h>

#include <windows.h>

#include <msi.h>
#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

#include "hidsim/win32/ControlChannel.h"
#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

// The shut-down's last state report, as the simulated mouse logs it.
constexpr char kShutDownReport[] = "ff01 07 17 00 00 00 00 00 00";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Tolvy Wimb Mouse";

std::wstring Widen(const char* text) {
    std::wstring out;
    for (const char* c = text; *c; ++c) out += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return out;
}

// A build-tree path as Wine sees it, with backslashes.
std::wstring WinePath(const char* path) {
    std::wstring out = Widen(path);
    for (auto& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

const std::wstring kPackage = WinePath(MOUSEHID_PACKAGE_WINE);
const std::wstring kNewerPackage = WinePath(MOUSEHID_NEWER_PACKAGE_WINE);
const std::wstring kStage = WinePath(MOUSEHID_PACKAGE_STAGE_WINE);

std::wstring InstallDir() {
    wchar_t local[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    return std::wstring(local) + L"\\Programs\\Tolvy Wimb Mouse\\";
}

std::wstring SystemFolder() {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return system;
}

// Runs msiexec with these arguments and returns its exit code.
DWORD Msiexec(const std::wstring& arguments) {
    Process msiexec = Start(SystemFolder() + L"\\msiexec.exe", arguments);
    DWORD exitCode = 0xFFFFFFFF;
    if (!msiexec.Wait(60000, &exitCode)) msiexec.Kill();
    msiexec.Release();
    return exitCode;
}
DWORD Install(const std::wstring& package) { return Msiexec(L"/i \"" + package + L"\" /qn"); }
DWORD Remove(const std::wstring& package) { return Msiexec(L"/x \"" + package + L"\" /qn"); }

// Every file under a folder, by path relative to it, with its bytes.
void ReadTree(const std::wstring& folder, const std::wstring& relative, std::map<std::wstring, std::string>& out) {
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((folder + relative + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ReadTree(folder, relative + name + L"\\", out);
        else
            out[relative + name] = ReadFile(folder + relative + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}
std::map<std::wstring, std::string> Tree(const std::wstring& folder) {
    std::map<std::wstring, std::string> out;
    ReadTree(folder.back() == L'\\' ? folder : folder + L"\\", L"", out);
    return out;
}

// Same names, and the same bytes in each file (named on a mismatch).
void ExpectSameTree(const std::map<std::wstring, std::string>& actual,
                    const std::map<std::wstring, std::string>& expected) {
    std::vector<std::wstring> actualNames, expectedNames;
    for (const auto& entry : actual) actualNames.push_back(entry.first);
    for (const auto& entry : expected) expectedNames.push_back(entry.first);
    ASSERT_EQ(actualNames, expectedNames);
    for (const auto& entry : expected)
        EXPECT_TRUE(actual.at(entry.first) == entry.second) << "bytes differ: " << std::string(entry.first.begin(), entry.first.end());
}

bool RunValue(std::wstring* command) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return false;
    if (command) *command = value;
    return true;
}

struct Installed {
    std::wstring productCode, version, publisher;
};
// The products installed under the package's upgrade code.
std::vector<Installed> InstalledProducts() {
    const std::wstring upgradeCode = Widen(MOUSEHID_UPGRADE_CODE);
    std::vector<Installed> out;
    wchar_t code[39] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, i, code) == ERROR_SUCCESS; ++i) {
        Installed product{code, L"", L""};
        wchar_t text[256] = {};
        DWORD size = 256;
        if (MsiGetProductInfoW(code, INSTALLPROPERTY_VERSIONSTRING, text, &size) == ERROR_SUCCESS)
            product.version = text;
        size = 256;
        if (MsiGetProductInfoW(code, INSTALLPROPERTY_PUBLISHER, text, &size) == ERROR_SUCCESS)
            product.publisher = text;
        out.push_back(product);
    }
    return out;
}

// The running service: its window, and its process opened to wait for it.
struct Service {
    HWND window = nullptr;
    Process process;
    std::wstring image;
};
Service FindService(DWORD timeoutMs) {
    Service service;
    service.window = WaitForWindow(kServiceTitle, timeoutMs);
    if (service.window == nullptr) return service;
    DWORD processId = 0;
    GetWindowThreadProcessId(service.window, &processId);
    service.process.handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    service.process.id = processId;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (service.process.handle && QueryFullProcessImageNameW(service.process.handle, 0, image, &size))
        service.image = image;
    return service;
}

// Returns once the service has finished its creation handler.
void WaitForStartUp(HWND window) {
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
}

bool SamePath(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

// A window with the service's title on a thread that takes no messages
// until released: a service that hangs and never handles WM_CLOSE.
class HungService {
public:
    HungService() {
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &HungService::Run, this, 0, nullptr);
        WaitForSingleObject(ready_, 10000);
    }
    ~HungService() { Release(); }
    HWND Window() const { return window_; }
    void Release() {
        if (thread_ == nullptr) return;
        SetEvent(release_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(release_);
        CloseHandle(ready_);
        thread_ = nullptr;
    }

private:
    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<HungService*>(parameter);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"InstallerTestHungService";
        RegisterClassW(&windowClass);
        self->window_ = CreateWindowW(windowClass.lpszClassName, kServiceTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
        SetEvent(self->ready_);
        WaitForSingleObject(self->release_, INFINITE);
        DestroyWindow(self->window_);
        return 0;
    }

    HANDLE release_ = nullptr, ready_ = nullptr, thread_ = nullptr;
    HWND window_ = nullptr;
};

class InstallerE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        RemoveEverything();
        ASSERT_TRUE(InstalledProducts().empty()) << "a package of an earlier run is still installed";
        ASSERT_FALSE(FolderExists(InstallDir()));
        RemoveTree(DataFolder());
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        mouseLog = std::wstring(temp) + L"mousehid-installer-" + std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(mouseLog.c_str());
        // The service the installer starts inherits these through msiexec.
        SetEnvironmentVariableW(L"HIDSIM_LOG", mouseLog.c_str());
        SetEnvironmentVariableW(L"HIDSIM_PIPE", (L"HidSimInstaller-" + std::to_wstring(GetCurrentProcessId())).c_str());
        SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", nullptr);
    }

    void TearDown() override {
        CloseStragglers();
        RemoveEverything();
        tray.Wait(5000);
        tray.Kill();
        tray.Release();
        if (!trayFolder.empty()) RemoveTree(trayFolder);
        RemoveTree(DataFolder());
        DeleteFileW(mouseLog.c_str());
        SetEnvironmentVariableW(L"HIDSIM_LOG", nullptr);
        SetEnvironmentVariableW(L"HIDSIM_PIPE", nullptr);
    }

    static void RemoveEverything() {
        for (const auto& product : InstalledProducts())
            Msiexec(L"/x " + product.productCode + L" /qn");
        CloseStragglers();
        RemoveTree(InstallDir());
    }

    // Mouse log lines without their times.
    std::vector<std::string> MouseEvents() const {
        std::vector<std::string> events;
        for (const auto& line : LogLines(mouseLog)) events.push_back(line.substr(line.find(' ') + 1));
        return events;
    }
    bool WaitForMouseEvent(const std::string& event, std::size_t from, DWORD timeoutMs) const {
        const DWORD start = GetTickCount();
        for (;;) {
            const auto events = MouseEvents();
            for (std::size_t i = from; i < events.size(); ++i)
                if (events[i] == event) return true;
            if (GetTickCount() - start > timeoutMs) return false;
            Sleep(20);
        }
    }

    // The installed service, started by the installer, up and with the mouse open.
    Service RunningInstalledService() {
        Service service = FindService(15000);
        EXPECT_NE(service.window, nullptr) << "the installer started the service";
        if (service.window == nullptr) return service;
        WaitForStartUp(service.window);
        EXPECT_TRUE(SamePath(service.image, InstallDir() + L"mousehid.exe"))
            << std::string(service.image.begin(), service.image.end());
        EXPECT_TRUE(WaitForMouseEvent("open 1", 0, 10000)) << "the installed library found the mouse";
        return service;
    }

    std::wstring mouseLog;
    std::wstring trayFolder;
    Process tray;
};

TEST_F(InstallerE2E, InstallPutsTheInstallationAndTheRunKeyInPlaceAndStartsTheService) {
    ASSERT_EQ(Install(kPackage), 0u);

    // Exactly the files `cmake --install` lays out, byte for byte.
    const auto staged = Tree(kStage);
    ASSERT_TRUE(staged.count(L"mousehid.exe") && staged.count(L"HidDevice.dll") && staged.count(L"HIDApi.dll") &&
                staged.count(L"config.ini") && staged.count(L"Profile 1.ini") && staged.count(L"Macro 1.ini"));
    ExpectSameTree(Tree(InstallDir()), staged);

    std::wstring command;
    ASSERT_TRUE(RunValue(&command));
    EXPECT_EQ(command, L"\"" + InstallDir() + L"mousehid.exe\"");

    const auto products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].version, Widen(MOUSEHID_VERSION));
    EXPECT_EQ(products[0].publisher, L"Tolvy Wimb");

    Service service = RunningInstalledService();
    ASSERT_NE(service.window, nullptr);
    EXPECT_TRUE(FileExists(DataFolder() + L"config.ini")) << "the started service provisioned the user's settings";
}

TEST_F(InstallerE2E, TheRunKeysCommandStartsTheServiceThatFindsTheMouse) {
    ASSERT_EQ(Install(kPackage), 0u);
    Service installed = RunningInstalledService();
    ASSERT_NE(installed.window, nullptr);
    PostMessageW(installed.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(installed.process.Wait(15000));
    installed.process.Release();
    DeleteFileW(mouseLog.c_str());

    // As at logon: the Run key's command line, from the system folder.
    std::wstring command;
    ASSERT_TRUE(RunValue(&command));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, SystemFolder().c_str(),
                               &startup, &info));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);

    Service service = FindService(15000);
    ASSERT_NE(service.window, nullptr);
    EXPECT_EQ(service.process.id, info.dwProcessId);
    WaitForStartUp(service.window);
    EXPECT_TRUE(WaitForMouseEvent("open 1", 0, 10000));
    std::string answer;
    ASSERT_TRUE(CallControlPipe("status", answer));
    EXPECT_EQ(answer, "ok\nplugged=1\n");

    PostMessageW(service.window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(service.process.Wait(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    service.process.Release();
}

TEST_F(InstallerE2E, ANewerPackageReplacesTheFilesAndRestartsTheServiceKeepingTheUsersData) {
    ASSERT_EQ(Install(kPackage), 0u);
    Service old = RunningInstalledService();
    ASSERT_NE(old.window, nullptr);
    // The user's own settings, beside what the service keeps there.
    const std::wstring config = DataFolder() + L"config.ini";
    ASSERT_TRUE(WritePrivateProfileStringW(L"UserNotes", L"Mine", L"kept as written", config.c_str()));
    const auto userData = Tree(DataFolder());
    ASSERT_NE(userData.at(L"config.ini").find("kept as written"), std::string::npos);
    // An installed file changed since: the upgrade puts the packaged one back.
    WriteFile(InstallDir() + L"Macro 1.ini", "changed");
    const std::size_t eventsBefore = MouseEvents().size();

    ASSERT_EQ(Install(kNewerPackage), 0u);

    EXPECT_TRUE(old.process.Wait(0)) << "the old service ended before its files were replaced";
    old.process.Release();
    const auto events = MouseEvents();
    std::size_t shutDown = events.size();
    for (std::size_t i = eventsBefore; i < events.size() && shutDown == events.size(); ++i)
        if (events[i] == kShutDownReport) shutDown = i;
    ASSERT_LT(shutDown, events.size()) << "the old service's shut-down reached the mouse";

    Service service = FindService(15000);
    ASSERT_NE(service.window, nullptr) << "the upgrade started the new service";
    EXPECT_NE(service.process.id, old.process.id);
    EXPECT_TRUE(SamePath(service.image, InstallDir() + L"mousehid.exe"));
    WaitForStartUp(service.window);
    EXPECT_TRUE(WaitForMouseEvent("open 1", shutDown + 1, 10000)) << "the new service found the mouse";

    ExpectSameTree(Tree(InstallDir()), Tree(kStage));
    const auto products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u) << "the newer version replaced the older";
    EXPECT_EQ(products[0].version, Widen(MOUSEHID_NEWER_VERSION));
    ExpectSameTree(Tree(DataFolder()), userData);
    std::wstring command;
    ASSERT_TRUE(RunValue(&command));
    EXPECT_EQ(command, L"\"" + InstallDir() + L"mousehid.exe\"");
}

TEST_F(InstallerE2E, AnOlderPackageDoesNotInstallOverANewerOne) {
    ASSERT_EQ(Install(kNewerPackage), 0u);
    Service service = RunningInstalledService();
    ASSERT_NE(service.window, nullptr);

    EXPECT_NE(Install(kPackage), 0u) << "refused";

    const auto products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].version, Widen(MOUSEHID_NEWER_VERSION));
    ExpectSameTree(Tree(InstallDir()), Tree(kStage));
    EXPECT_TRUE(service.process.Running()) << "a refused install leaves the running service alone";
}

TEST_F(InstallerE2E, RemovalStopsTheServiceCleanlyAndTakesOnlyWhatItInstalled) {
    ASSERT_EQ(Install(kPackage), 0u);
    Service service = RunningInstalledService();
    ASSERT_NE(service.window, nullptr);
    // A tray program to be closed by the service's shut-down.
    trayFolder = MakeInstallCopy();
    tray = Start(trayFolder + L"\\trayicon.exe");
    ASSERT_NE(WaitForWindow(kTrayTitle, 10000), nullptr);
    const auto userData = Tree(DataFolder());
    ASSERT_TRUE(userData.count(L"config.ini"));

    ASSERT_EQ(Remove(kPackage), 0u);

    DWORD exitCode = 1;
    ASSERT_TRUE(service.process.Wait(0, &exitCode)) << "the service ended before its files were removed";
    EXPECT_EQ(exitCode, 0u) << "it ended through its own shut-down";
    service.process.Release();
    const auto events = MouseEvents();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], kShutDownReport) << "the mouse got the last state report";
    EXPECT_EQ(events.back(), "close");
    EXPECT_TRUE(WaitForLoggedMessage(trayFolder + L"\\trayicon.log", WM_CLOSE, 0)) << "the tray program was closed";
    EXPECT_TRUE(tray.Wait(5000));

    EXPECT_FALSE(FolderExists(InstallDir()));
    EXPECT_FALSE(RunValue(nullptr));
    EXPECT_TRUE(InstalledProducts().empty());
    ExpectSameTree(Tree(DataFolder()), userData);
}

TEST_F(InstallerE2E, AServiceThatDoesNotCloseDelaysRemovalBoundedlyAndIsLeftRunning) {
    ASSERT_EQ(Install(kPackage), 0u);
    Service service = RunningInstalledService();
    ASSERT_NE(service.window, nullptr);
    PostMessageW(service.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(service.process.Wait(15000));
    service.process.Release();

    HungService hung;
    ASSERT_NE(hung.Window(), nullptr);
    ASSERT_EQ(Remove(kPackage), 0u) << "the wait for the service ends, and removal goes on";
    EXPECT_TRUE(IsWindow(hung.Window())) << "nothing but WM_CLOSE is done to a service";
    hung.Release();

    EXPECT_FALSE(FolderExists(InstallDir()));
    EXPECT_FALSE(RunValue(nullptr));
    EXPECT_TRUE(InstalledProducts().empty());
}

}  // namespace
