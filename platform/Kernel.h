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

class KernelServices {
public:
    virtual HANDLE CreateMutexW(const Text& name) = 0;  // not initially owned
    virtual DWORD GetLastError() = 0;
    virtual BOOL ReleaseMutex(HANDLE mutex) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;
    virtual HANDLE CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                DWORD* threadId) = 0;
    virtual DWORD GetCurrentThreadId() = 0;
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

protected:
    ~KernelServices() = default;
};
