#include "platform/win32/Win32Platform.h"

HANDLE Win32Kernel::CreateMutexW(const Text& name) { return ::CreateMutexW(nullptr, FALSE, Wide(name)); }
DWORD Win32Kernel::GetLastError() { return ::GetLastError(); }
BOOL Win32Kernel::ReleaseMutex(HANDLE mutex) { return ::ReleaseMutex(mutex); }
BOOL Win32Kernel::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

DWORD Win32Kernel::WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return ::WaitForSingleObject(handle, milliseconds);
}

HANDLE Win32Kernel::CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                   DWORD* threadId) {
    return ::CreateThread(nullptr, stackSize, routine, parameter, 0, threadId);
}

DWORD Win32Kernel::GetCurrentThreadId() { return ::GetCurrentThreadId(); }
BOOL Win32Kernel::SetCurrentThreadPriority(int priority) { return ::SetThreadPriority(::GetCurrentThread(), priority); }
int Win32Kernel::GetCurrentThreadPriority() { return ::GetThreadPriority(::GetCurrentThread()); }
void Win32Kernel::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
DWORD Win32Kernel::GetTickCount() { return ::GetTickCount(); }

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

// --- processes: which program owns the foreground ---

#include <tlhelp32.h>

namespace {

BOOL FillProcessEntry(BOOL found, const PROCESSENTRY32W& raw, ProcessEntry* entry) {
    if (!found || entry == nullptr) return FALSE;
    entry->th32ProcessID = raw.th32ProcessID;
    // The name field is a fixed array; never read past it.
    std::size_t length = 0;
    while (length < MAX_PATH && raw.szExeFile[length] != L'\0') ++length;
    entry->szExeFile.assign(reinterpret_cast<const char16_t*>(raw.szExeFile), length);
    return TRUE;
}

}  // namespace

HANDLE Win32Kernel::CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(flags, processId);
    return snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot;
}

BOOL Win32Kernel::Process32FirstW(HANDLE snapshot, ProcessEntry* entry) {
    PROCESSENTRY32W raw{};
    raw.dwSize = sizeof raw;
    return FillProcessEntry(::Process32FirstW(snapshot, &raw), raw, entry);
}

BOOL Win32Kernel::Process32NextW(HANDLE snapshot, ProcessEntry* entry) {
    PROCESSENTRY32W raw{};
    raw.dwSize = sizeof raw;
    return FillProcessEntry(::Process32NextW(snapshot, &raw), raw, entry);
}

HANDLE Win32Kernel::OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId) {
    return ::OpenProcess(access, inheritHandle, processId);
}

BOOL Win32Kernel::QueryFullProcessImageNameW(HANDLE process, Text* path) {
    wchar_t buffer[MAX_PATH * 4] = {};
    DWORD size = static_cast<DWORD>(sizeof buffer / sizeof buffer[0]);
    if (!::QueryFullProcessImageNameW(process, 0, buffer, &size)) return FALSE;
    if (path != nullptr) path->assign(reinterpret_cast<const char16_t*>(buffer), size);
    return TRUE;
}
