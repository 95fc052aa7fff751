// The fake kernel: named mutexes, threads that really run (each with a fake
// thread id, ended when the fake is torn down), a Sleep that advances the
// virtual clock, debug lines kept in order, and modules with named and
// ordinal exports.
#pragma once

#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Kernel.h"
#include "platform/fake/FakeWorld.h"

struct FakeThread {
    DWORD id = 0;
    std::size_t stackSize = 0;
    ThreadRoutine routine = nullptr;
    void* parameter = nullptr;
    HANDLE handle = nullptr;
};

class FakeKernel final : public KernelServices {
public:
    explicit FakeKernel(FakeWorld& world) : world_(world) { SetAnsiCodePage(1252); }
    ~FakeKernel();

    HANDLE CreateMutexW(const Text& name) override;
    DWORD GetLastError() override;
    BOOL ReleaseMutex(HANDLE mutex) override;
    BOOL CloseHandle(HANDLE handle) override;
    HANDLE CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                        DWORD* threadId) override;
    DWORD GetCurrentThreadId() override;
    // Per thread, as a normal-class process takes them: the seven
    // THREAD_PRIORITY_* levels, anything else refused.
    BOOL SetCurrentThreadPriority(int priority) override;
    int GetCurrentThreadPriority() override;
    // A thread's handle is signalled when its routine has returned. A wait
    // that runs out advances the virtual clock by its time; one without end
    // that its thread never ends is listed among the hangs.
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetTickCount() override;
    void OutputDebugStringW(const Text& line) override;
    HMODULE LoadLibraryW(const Text& name) override;
    void* GetProcAddress(HMODULE module, const char* name) override;
    void* GetProcAddressByOrdinal(HMODULE module, WORD ordinal) override;
    Text GetModuleFileNameW() override;
    const AnsiCodePage& SystemAnsiCodePage() override;

    // --- set-up ---
    void SetModuleFileName(const Text& path);
    // The system's ANSI code page; false (and no change) for one without
    // tables. 1252 until set. Code pages handed out stay valid until the
    // fake ends.
    bool SetAnsiCodePage(unsigned identifier);
    void AddModule(const Text& name, std::map<std::string, void*> named,
                   std::map<WORD, void*> ordinals = {});

    // --- driving and inspection ---
    // Ends every wait of the fake and joins the threads it started.
    void StopThreads();
    std::vector<FakeThread> Threads() const;
    // Whether the routine of the thread with this id has returned.
    bool ThreadEnded(DWORD id) const;

private:
    FakeWorld& world_;
    std::map<Text, int> mutexes_;  // name -> open handles
    std::map<HANDLE, Text> mutexHandles_;
    std::vector<FakeThread> threads_;
    std::map<HANDLE, bool> threadEnded_;  // thread handle -> its routine has returned
    std::vector<std::thread> running_;
    std::map<DWORD, int> priorities_;  // thread id -> priority set
    std::map<Text, HMODULE> moduleHandles_;
    std::map<HMODULE, std::pair<std::map<std::string, void*>, std::map<WORD, void*>>> modules_;
    Text moduleFileName_ = u"C:\\Program Files\\Mouse\\mousehid.exe";
    std::map<unsigned, std::unique_ptr<AnsiCodePage>> codePages_;
    const AnsiCodePage* codePage_ = nullptr;

    // --- processes: which program owns the foreground ---
public:
    // The service's own process; its image is the module file name.
    static constexpr DWORD kOwnProcessId = 4000;

    HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) override;
    BOOL Process32FirstW(HANDLE snapshot, ProcessEntry* entry) override;
    BOOL Process32NextW(HANDLE snapshot, ProcessEntry* entry) override;
    HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId) override;
    BOOL QueryFullProcessImageNameW(HANDLE process, Text* path) override;

    // Another program's process, by the full path of its executable; one that
    // is not `openable` refuses OpenProcess (as elevated processes do).
    void AddProcess(DWORD processId, const Text& imagePath, bool openable = true);
    // The process ends; its id is no longer in snapshots and cannot be opened.
    void RemoveProcess(DWORD processId);
    // Snapshots fail from now on (or work again).
    void FailSnapshots(bool fail);
    // Snapshot and process handles handed out and not yet closed.
    int OpenSnapshotCount() const;
    int OpenProcessHandleCount() const;

private:
    struct FakeProcess {
        DWORD id;
        Text imagePath;
        bool openable;
    };
    // Forgets a snapshot or process handle; false for any other handle.
    bool CloseProcessHandleLocked(HANDLE handle);
    std::vector<FakeProcess> ProcessesLocked() const;

    std::vector<FakeProcess> processes_;
    bool failSnapshots_ = false;
    std::map<HANDLE, std::pair<std::vector<FakeProcess>, std::size_t>> snapshots_;  // entries, next
    std::map<HANDLE, DWORD> processHandles_;
};

// Case-folded path with backslashes and no trailing backslash: the fake's
// key for files, folders and modules.
Text FakeFoldPath(const Text& path);
