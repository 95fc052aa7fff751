// Threads, time, synchronisation, modules and debug output: the kernel's
// part of the platform seam. Names and arguments follow the Win32 functions.
#pragma once

#include <cstddef>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "platform/WinTypes.h"

#ifdef _WIN32
#define PLATFORM_THREAD_CALL WINAPI
#else
#define PLATFORM_THREAD_CALL
#endif
// A thread's routine, with the system's calling convention for thread routines.
using ThreadRoutine = DWORD(PLATFORM_THREAD_CALL*)(void* parameter);

// One entry of a process snapshot (PROCESSENTRY32W): the process id and the
// executable's file name, without its folder.
struct ProcessEntry {
    DWORD th32ProcessID = 0;
    Text szExeFile;
};

class KernelServices {
public:
    virtual HANDLE CreateMutexW(const Text& name) = 0;  // not initially owned
    virtual DWORD GetLastError() = 0;
    virtual BOOL ReleaseMutex(HANDLE mutex) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual HANDLE CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                DWORD* threadId) = 0;
    virtual DWORD GetCurrentThreadId() = 0;
    // SetThreadPriority / GetThreadPriority on GetCurrentThread(): the calling
    // thread's priority within its process (THREAD_PRIORITY_*). Setting fails
    // (ERROR_INVALID_PARAMETER) for a value the process's class does not
    // take; reading answers THREAD_PRIORITY_NORMAL for a thread never set.
    virtual BOOL SetCurrentThreadPriority(int priority) = 0;
    virtual int GetCurrentThreadPriority() = 0;
    // On a thread handle: WAIT_OBJECT_0 once the thread has ended,
    // WAIT_TIMEOUT when it still runs after `milliseconds`.
    virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual DWORD GetTickCount() = 0;
    virtual void OutputDebugStringW(const Text& line) = 0;

    virtual HMODULE LoadLibraryW(const Text& name) = 0;
    virtual void* GetProcAddress(HMODULE module, const char* name) = 0;
    virtual void* GetProcAddressByOrdinal(HMODULE module, WORD ordinal) = 0;
    // Full path of the running executable, at most 259 units (MAX_PATH buffer).
    virtual Text GetModuleFileNameW() = 0;

    // The system's ANSI code page (GetACP and its conversions): the encoding
    // of a text file without a byte-order mark.
    virtual const AnsiCodePage& SystemAnsiCodePage() = 0;

    // --- processes: which program owns the foreground ---
    // CreateToolhelp32Snapshot; null when it fails (INVALID_HANDLE_VALUE).
    // Closed with CloseHandle.
    virtual HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) = 0;
    // Process32FirstW / Process32NextW: FALSE when there is no (further) entry.
    virtual BOOL Process32FirstW(HANDLE snapshot, ProcessEntry* entry) = 0;
    virtual BOOL Process32NextW(HANDLE snapshot, ProcessEntry* entry) = 0;
    // OpenProcess; null when the process is gone or may not be opened.
    // Closed with CloseHandle.
    virtual HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId) = 0;
    // QueryFullProcessImageNameW (Win32 path format): the executable's full path.
    virtual BOOL QueryFullProcessImageNameW(HANDLE process, Text* path) = 0;

protected:
    ~KernelServices() = default;
};
