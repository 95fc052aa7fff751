// Helpers for end-to-end tests of the installed service under Wine: a fresh
// copy of the installation per test, the user's data folder, starting and
// closing processes, finding windows and reading the stand-ins' logs.
#pragma once

#include "contract/Names.h"
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The product folder made by `cmake --install` (environment MOUSEHID_INSTALL_DIR).
std::wstring InstallFolder();
// A fresh copy of the installation under the temp folder, with trayicon.exe
// and configstub.exe beside the service and the skins folder; `skip` names
// installed files or folders left out.
std::wstring MakeInstallCopy(const std::vector<std::wstring>& skip = {});
// The user's data folder, "<roaming app data>\Tolvy Wimb\".
std::wstring DataFolder();
void RemoveTree(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::string ReadFile(const std::wstring& path);
void WriteFile(const std::wstring& path, const std::string& bytes);

struct Process {
    HANDLE handle = nullptr;
    DWORD id = 0;
    bool Running() const;
    // Waits for the end; true with the exit code when it ended in time.
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    void Kill();
    void Release();
};

Process Start(const std::wstring& exePath, const std::wstring& arguments = L"");

// Waits until a top-level window with this exact title exists.
HWND WaitForWindow(const std::wstring& title, DWORD timeoutMs);
// Waits until no top-level window with this title is left.
bool WaitForNoWindow(const std::wstring& title, DWORD timeoutMs);

// Lines of a stand-in log ("<ms> msg=0x0010 wParam=0 lParam=0", "<ms> started").
std::vector<std::string> LogLines(const std::wstring& path);
// True when the log has a line for this message, waiting up to timeoutMs.
bool WaitForLoggedMessage(const std::wstring& logPath, UINT message, DWORD timeoutMs);
// Time of the "started" line in ms since 1601, 0 when none.
unsigned long long LoggedStartTime(const std::wstring& logPath);
unsigned long long WallClockMs();

// The contract's names as the API's wide strings (wchar_t is 16 bits on Windows).
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
constexpr wchar_t kServiceTitle[] = L"Lunket_GamingMouseHid";
constexpr wchar_t kConfigTitle[] = L"Lunket_Driver_Config";
constexpr wchar_t kTrayTitle[] = L"LunketGamingMouseTrayIcon";

// Starts the service from a folder and waits for its window.
struct RunningService {
    Process process;
    HWND window = nullptr;
};
RunningService StartService(const std::wstring& folder);
// Posts WM_CLOSE to the service and waits for the process to end.
bool CloseService(RunningService& service, DWORD* exitCode = nullptr);
// Ends every stand-in and service window left by a test.
void CloseStragglers();

}  // namespace e2e
