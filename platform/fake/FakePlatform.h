// In-memory stand-in for the operating system, for host tests. It keeps
// virtual windows (titles, classes, styles, rectangles, message queues), a
// virtual clock that Sleep advances, files and folders, registry keys,
// loadable modules, and a record of everything the code asked of it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

struct FakeWindow {
    HWND hwnd = nullptr;
    Text className;
    Text title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};
    HWND parent = nullptr;
    DWORD threadId = 0;
    WindowMessageTarget* target = nullptr;  // null for windows of other programs
    bool alive = true;
};

// One message posted to a window or a thread, with the virtual time of posting.
struct FakePostedMessage {
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint64_t time = 0;
};

struct FakeThread {
    DWORD id = 0;
    std::size_t stackSize = 0;
    ThreadRoutine routine = nullptr;
    void* parameter = nullptr;
};

struct FakeShellExecute {
    HWND owner = nullptr;
    Text verb;
    Text file;
    Text parameters;
    Text directory;
    int show = 0;
    std::uint64_t time = 0;
};

struct FakeTimer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    std::uint64_t setAt = 0;
};

class FakePlatform final : public Platform {
public:
    static constexpr DWORD kMainThreadId = 1000;

    FakePlatform();
    ~FakePlatform() override;

    // --- Platform ---
    HANDLE CreateMutexW(const Text& name) override;
    DWORD GetLastError() override;
    BOOL ReleaseMutex(HANDLE mutex) override;
    BOOL CloseHandle(HANDLE handle) override;
    HANDLE CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                        DWORD* threadId) override;
    DWORD GetCurrentThreadId() override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetTickCount() override;
    void OutputDebugStringW(const Text& line) override;

    HMODULE LoadLibraryW(const Text& name) override;
    void* GetProcAddress(HMODULE module, const char* name) override;
    void* GetProcAddressByOrdinal(HMODULE module, WORD ordinal) override;
    Text GetModuleFileNameW() override;

    HWND CreateWindowExW(const WindowCreation& creation, WindowMessageTarget* target) override;
    BOOL DestroyWindow(HWND hwnd) override;
    LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LONG SetWindowLongW(HWND hwnd, int index, LONG value) override;
    LONG GetWindowLongW(HWND hwnd, int index) override;
    HWND FindWindowW(const Text& className, const Text& title) override;
    BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) override;
    BOOL KillTimer(HWND hwnd, UINT_PTR id) override;
    BOOL GetMessageW(MSG* msg) override;
    LRESULT DispatchMessageW(const MSG* msg) override;
    void PostQuitMessage(int exitCode) override;

    std::optional<Text> SHGetFolderPathW(int csidl) override;
    int SHCreateDirectoryExW(const Text& path) override;
    BOOL CopyFileW(const Text& from, const Text& to, BOOL failIfExists) override;
    bool FindFirstFileExists(const Text& path) override;
    FileRead ReadWholeFile(const Text& path) override;
    bool WriteWholeFile(const Text& path, const std::string& bytes) override;
    HINSTANCE ShellExecuteW(HWND owner, const Text& verb, const Text& file, const Text& parameters,
                            const Text& directory, int show) override;
    const AnsiCodePage& SystemAnsiCodePage() override;

    LONG RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) override;
    LONG RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) override;
    LONG RegCloseKey(HKEY key) override;

    void CoUninitialize() override;

    // --- device link ---
    BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) override;
    HANDLE LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) override;
    HANDLE SetCursor(HANDLE cursor) override;
    // The wheel-scroll-characters value; empty makes the query fail.
    void SetWheelScrollChars(std::optional<UINT> chars);
    // The system cursor id last passed to SetCursor (0 when none).
    UINT_PTR CurrentCursorId() const;

    // --- set-up by tests ---
    void SetModuleFileName(const Text& path) { moduleFileName_ = path; }
    // Leave empty to make SHGetFolderPathW fail.
    void SetAppDataFolder(std::optional<Text> folder) { appData_ = std::move(folder); }
    void AddFile(const Text& path, const std::string& bytes);
    void AddFolder(const Text& path);
    void RemoveFile(const Text& path);
    // Another program holds the file open without sharing: reads of it fail
    // as "could not be read" and writes to it fail. The hold ends after
    // `failedReads` reads, or with ReleaseFile when that is negative.
    void HoldFile(const Text& path, int failedReads = -1);
    void ReleaseFile(const Text& path);
    // The system's ANSI code page; false (and no change) for one without
    // tables. 1252 until set. Code pages handed out stay valid until the
    // fake ends.
    bool SetAnsiCodePage(unsigned identifier);
    // A top-level window of another program; messages posted to it are recorded.
    HWND AddForeignWindow(const Text& title, const Text& className = u"ForeignClass");
    // A loadable module with named and ordinal exports.
    void AddModule(const Text& name, std::map<std::string, void*> named,
                   std::map<WORD, void*> ordinals = {});
    void AddRegistryKey(HKEY root, const Text& subKey);
    // Makes the next `count` registry opens and creates fail.
    void FailRegistry(bool fail) { registryFails_ = fail; }

    // --- driving ---
    // Delivers queued messages of the main thread until none is left or a
    // quit was posted. Returns the number dispatched.
    int PumpMessages();
    // Runs a recorded thread's routine on the calling thread.
    DWORD RunThread(std::size_t index);
    // Sends a message straight to a window's target (as SendMessage would).
    LRESULT SendMessageTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void AdvanceClock(std::uint64_t milliseconds);

    // --- inspection ---
    std::uint64_t Now() const;
    std::vector<std::string> Calls() const;  // every call, in order, as "Name args"
    // Index of the first recorded call that starts with `prefix`, or -1.
    int CallIndex(const std::string& prefix) const;
    std::vector<FakePostedMessage> PostedTo(HWND hwnd) const;
    std::vector<FakePostedMessage> PostedToThread(DWORD threadId) const;
    const FakeWindow* Window(HWND hwnd) const;
    std::vector<FakeWindow> Windows() const;
    std::vector<FakeThread> Threads() const;
    std::vector<FakeShellExecute> ShellExecutes() const;
    std::vector<FakeTimer> Timers() const;
    std::vector<Text> DebugLines() const;
    std::vector<std::uint64_t> Sleeps() const;
    std::uint64_t TotalSlept() const;
    std::optional<std::string> File(const Text& path) const;
    bool FolderExists(const Text& path) const;
    bool RegistryKeyExists(HKEY root, const Text& subKey) const;
    std::size_t OpenRegistryKeys() const;
    bool QuitPosted() const { return quitPosted_; }
    int QuitCode() const { return quitCode_; }
    void ClearCalls();

private:
    void Record(const std::string& call);
    static Text FoldPath(const Text& path);
    static Text ParentFolder(const Text& path);
    FakeWindow* FindWindowLocked(HWND hwnd);
    bool HeldLocked(const Text& path) const;

    mutable std::recursive_mutex lock_;
    std::uint64_t now_ = 0;
    DWORD lastError_ = 0;
    std::vector<std::string> calls_;
    std::vector<std::uint64_t> sleeps_;
    std::vector<Text> debugLines_;

    std::uintptr_t nextHandle_ = 0x100;
    std::map<Text, int> mutexes_;              // name -> open handles
    std::map<HANDLE, Text> mutexHandles_;

    DWORD nextThreadId_ = 2000;
    std::vector<FakeThread> threads_;

    std::map<Text, HMODULE> moduleHandles_;
    std::map<HMODULE, std::pair<std::map<std::string, void*>, std::map<WORD, void*>>> modules_;
    Text moduleFileName_ = u"C:\\Program Files\\Mouse\\mousehid.exe";

    std::vector<FakeWindow> windows_;
    std::deque<FakePostedMessage> queue_;      // main thread's queue
    std::vector<FakePostedMessage> posted_;    // every posted message, in order
    std::vector<FakeTimer> timers_;
    bool quitPosted_ = false;
    int quitCode_ = 0;

    std::optional<Text> appData_ = Text(u"C:\\users\\user\\AppData\\Roaming");
    std::map<Text, std::string> files_;        // folded path -> bytes
    std::map<Text, Text> fileNames_;           // folded path -> path as written
    std::set<Text> folders_;                   // folded paths without trailing backslash
    std::vector<FakeShellExecute> shellExecutes_;
    std::map<Text, int> heldFiles_;            // folded path -> reads left to fail (negative: until released)
    std::map<unsigned, std::unique_ptr<AnsiCodePage>> codePages_;  // every one set so far
    const AnsiCodePage* codePage_ = nullptr;

    std::set<std::pair<std::uintptr_t, Text>> registryKeys_;
    std::set<HKEY> openRegistryKeys_;
    bool registryFails_ = false;

    // --- device link ---
    std::optional<UINT> wheelScrollChars_ = 3u;
    UINT_PTR cursorId_ = 0;
};
