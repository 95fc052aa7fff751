#include "platform/win32/Win32Platform.h"

HANDLE Win32Kernel::CreateMutexW(const Text& name) { return ::CreateMutexW(nullptr, FALSE, Wide(name)); }
DWORD Win32Kernel::GetLastError() { return ::GetLastError(); }
BOOL Win32Kernel::ReleaseMutex(HANDLE mutex) { return ::ReleaseMutex(mutex); }
BOOL Win32Kernel::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

HANDLE Win32Kernel::CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                   DWORD* threadId) {
    return ::CreateThread(nullptr, stackSize, routine, parameter, 0, threadId);
}

DWORD Win32Kernel::GetCurrentThreadId() { return ::GetCurrentThreadId(); }
void Win32Kernel::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
DWORD Win32Kernel::GetTickCount() { return ::GetTickCount(); }
void Win32Kernel::OutputDebugStringW(const Text& line) { ::OutputDebugStringW(Wide(line)); }

HMODULE Win32Kernel::LoadLibraryW(const Text& name) { return ::LoadLibraryW(Wide(name)); }

void* Win32Kernel::GetProcAddress(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(module, name));
}

void* Win32Kernel::GetProcAddressByOrdinal(HMODULE module, WORD ordinal) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<void*>(
        ::GetProcAddress(module, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal))));
}

Text Win32Kernel::GetModuleFileNameW() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FromWide(path);
}
