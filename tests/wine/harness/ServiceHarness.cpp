#include "tests/wine/harness/ServiceHarness.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "tools/standin/StandInWindow.h"

namespace e2e {

namespace {

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value) : std::wstring();
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}

int g_copyCounter = 0;

// Copies the files of a folder and, one level down, of its folders.
void CopyFolder(const std::wstring& from, const std::wstring& to, const std::vector<std::wstring>& skip,
                bool withFolders) {
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(Join(from, L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        bool skipped = false;
        for (const auto& s : skip) skipped = skipped || _wcsicmp(s.c_str(), name.c_str()) == 0;
        if (skipped) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (withFolders) CopyFolder(Join(from, name), Join(to, name), {}, false);
        } else {
            CopyFileW(Join(from, name).c_str(), Join(to, name).c_str(), FALSE);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

}  // namespace

std::wstring InstallFolder() { return Env(L"MOUSEHID_INSTALL_DIR"); }

std::wstring MakeInstallCopy(const std::vector<std::wstring>& skip) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        Join(temp, L"mousehid-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(++g_copyCounter));
    RemoveTree(folder);
    CopyFolder(InstallFolder(), folder, skip, true);
    return folder;
}

std::wstring DataFolder() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData);
    return std::wstring(appData) + L"\\Tolvy Wimb\\";
}

void RemoveTree(const std::wstring& path) {
    std::wstring folder = path;
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(Join(folder, L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = Join(folder, name);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFile(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) return std::string();
    std::string bytes;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool Process::Running() const { return handle != nullptr && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }

bool Process::Wait(DWORD timeoutMs, DWORD* exitCode) const {
    if (handle == nullptr) return false;
    if (WaitForSingleObject(handle, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(handle, exitCode);
    return true;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(handle, 99);
        WaitForSingleObject(handle, 5000);
    }
}

void Process::Release() {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}

Process Start(const std::wstring& exePath, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    const auto slash = exePath.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash);
    if (CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
    }
    return process;
}

HWND WaitForWindow(const std::wstring& title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowW(nullptr, title.c_str())) return window;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(20);
    }
}

bool WaitForNoWindow(const std::wstring& title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (FindWindowW(nullptr, title.c_str()) != nullptr) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

std::vector<std::string> LogLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(path));
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

bool WaitForLoggedMessage(const std::wstring& logPath, UINT message, DWORD timeoutMs) {
    char needle[32];
    std::snprintf(needle, sizeof needle, "msg=0x%04x ", message);
    const DWORD start = GetTickCount();
    for (;;) {
        for (const auto& line : LogLines(logPath))
            if (line.find(needle) != std::string::npos) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

unsigned long long LoggedStartTime(const std::wstring& logPath) {
    for (const auto& line : LogLines(logPath))
        if (line.find(" started") != std::string::npos) return std::stoull(line);
    return 0;
}

unsigned long long WallClockMs() { return ::WallClockMs(); }

RunningService StartService(const std::wstring& folder) {
    RunningService service;
    service.process = Start(Join(folder, L"mousehid.exe"));
    service.window = WaitForWindow(kServiceTitle, 15000);
    return service;
}

bool CloseService(RunningService& service, DWORD* exitCode) {
    if (service.window) PostMessageW(service.window, WM_CLOSE, 0, 0);
    const bool ended = service.process.Wait(15000, exitCode);
    if (!ended) service.process.Kill();
    service.process.Release();
    return ended;
}

namespace {

BOOL CALLBACK CloseWindowsTitled(HWND window, LPARAM title) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    if (wcscmp(text, reinterpret_cast<const wchar_t*>(title)) == 0) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Ends every process of the prefix whose executable is one of the given
// names. The stand-ins are started by the service and inherit the test
// process's output, so one left running holds the test runner's pipe open.
void EndProcessesNamed(std::initializer_list<const wchar_t*> names) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        bool named = false;
        for (const wchar_t* name : names) named = named || _wcsicmp(entry.szExeFile, name) == 0;
        if (!named || entry.th32ProcessID == GetCurrentProcessId()) continue;
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

}  // namespace

// Every window of each title is asked to close at once (a burst of plugs can
// leave several tray programs), then whatever did not go is ended.
void CloseStragglers() {
    for (const wchar_t* title : {kServiceTitle, kConfigTitle, kTrayTitle}) {
        EnumWindows(CloseWindowsTitled, reinterpret_cast<LPARAM>(title));
        WaitForNoWindow(title, 5000);
    }
    EndProcessesNamed({L"mousehid.exe", L"trayicon.exe", L"configstub.exe"});
}

}  // namespace e2e
