#include "platform/win32/Win32Platform.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace {

LRESULT CALLBACK RoutingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* target = reinterpret_cast<WindowMessageTarget*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (target == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = target->HandleWindowMessage(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return result;
}

void RegisterClassOnce(const Text& className) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), Wide(className), &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = RoutingWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = nullptr;
    wc.hbrBackground = nullptr;
    wc.hIcon = nullptr;
    wc.lpszClassName = Wide(className);
    ::RegisterClassExW(&wc);
}

}  // namespace

HANDLE Win32Platform::CreateMutexW(const Text& name) { return ::CreateMutexW(nullptr, FALSE, Wide(name)); }
DWORD Win32Platform::GetLastError() { return ::GetLastError(); }
BOOL Win32Platform::ReleaseMutex(HANDLE mutex) { return ::ReleaseMutex(mutex); }
BOOL Win32Platform::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

HANDLE Win32Platform::CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                                   DWORD* threadId) {
    return ::CreateThread(nullptr, stackSize, routine, parameter, 0, threadId);
}

DWORD Win32Platform::GetCurrentThreadId() { return ::GetCurrentThreadId(); }
void Win32Platform::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }
DWORD Win32Platform::GetTickCount() { return ::GetTickCount(); }
void Win32Platform::OutputDebugStringW(const Text& line) { ::OutputDebugStringW(Wide(line)); }

HMODULE Win32Platform::LoadLibraryW(const Text& name) { return ::LoadLibraryW(Wide(name)); }

void* Win32Platform::GetProcAddress(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(module, name));
}

void* Win32Platform::GetProcAddressByOrdinal(HMODULE module, WORD ordinal) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<void*>(
        ::GetProcAddress(module, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal))));
}

Text Win32Platform::GetModuleFileNameW() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FromWide(path);
}

HWND Win32Platform::CreateWindowExW(const WindowCreation& c, WindowMessageTarget* target) {
    RegisterClassOnce(c.className);
    return ::CreateWindowExW(c.exStyle, Wide(c.className), Wide(c.title), c.style, c.x, c.y,
                             c.width, c.height, c.parent, nullptr, ::GetModuleHandleW(nullptr),
                             target);
}

BOOL Win32Platform::DestroyWindow(HWND hwnd) { return ::DestroyWindow(hwnd); }

LRESULT Win32Platform::DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LONG Win32Platform::SetWindowLongW(HWND hwnd, int index, LONG value) {
    return ::SetWindowLongW(hwnd, index, value);
}

LONG Win32Platform::GetWindowLongW(HWND hwnd, int index) { return ::GetWindowLongW(hwnd, index); }

HWND Win32Platform::FindWindowW(const Text& className, const Text& title) {
    return ::FindWindowW(className.empty() ? nullptr : Wide(className), Wide(title));
}

BOOL Win32Platform::PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(hwnd, message, wParam, lParam);
}

BOOL Win32Platform::PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessageW(threadId, message, wParam, lParam);
}

UINT_PTR Win32Platform::SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) {
    return ::SetTimer(hwnd, id, milliseconds, nullptr);
}

BOOL Win32Platform::KillTimer(HWND hwnd, UINT_PTR id) { return ::KillTimer(hwnd, id); }
BOOL Win32Platform::GetMessageW(MSG* msg) { return ::GetMessageW(msg, nullptr, 0, 0); }
LRESULT Win32Platform::DispatchMessageW(const MSG* msg) { return ::DispatchMessageW(msg); }
void Win32Platform::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

std::optional<Text> Win32Platform::SHGetFolderPathW(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return std::nullopt;
    return FromWide(path);
}

int Win32Platform::SHCreateDirectoryExW(const Text& path) {
    return ::SHCreateDirectoryExW(nullptr, Wide(path), nullptr);
}

BOOL Win32Platform::CopyFileW(const Text& from, const Text& to, BOOL failIfExists) {
    return ::CopyFileW(Wide(from), Wide(to), failIfExists);
}

bool Win32Platform::FindFirstFileExists(const Text& path) {
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW(Wide(path), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    ::FindClose(find);
    return true;
}

FileRead Win32Platform::ReadWholeFile(const Text& path) {
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return FileRead{missing ? FileReadStatus::Missing : FileReadStatus::Unreadable, {}};
    }
    FileRead read{FileReadStatus::Read, {}};
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
            read = FileRead{FileReadStatus::Unreadable, {}};
            break;
        }
        if (got == 0) break;
        read.Bytes.append(chunk, got);
    }
    ::CloseHandle(file);
    return read;
}

bool Win32Platform::WriteWholeFile(const Text& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

HINSTANCE Win32Platform::ShellExecuteW(HWND owner, const Text& verb, const Text& file,
                                       const Text& parameters, const Text& directory, int show) {
    return ::ShellExecuteW(owner, verb.empty() ? nullptr : Wide(verb), Wide(file),
                           parameters.empty() ? nullptr : Wide(parameters),
                           directory.empty() ? nullptr : Wide(directory), show);
}

LONG Win32Platform::RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) {
    return ::RegOpenKeyExW(root, Wide(subKey), 0, access, result);
}

LONG Win32Platform::RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) {
    return ::RegCreateKeyW(root, Wide(subKey), result);
}

LONG Win32Platform::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }

void Win32Platform::CoUninitialize() { ::CoUninitialize(); }

// --- device link ---

BOOL Win32Platform::SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) {
    return ::SystemParametersInfoW(action, param, value, winIni);
}

HANDLE Win32Platform::LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) {
    return reinterpret_cast<HANDLE>(::LoadCursorW(instance, MAKEINTRESOURCEW(cursorId)));
}

HANDLE Win32Platform::SetCursor(HANDLE cursor) {
    return reinterpret_cast<HANDLE>(::SetCursor(reinterpret_cast<HCURSOR>(cursor)));
}

// --- INI files ---

UINT Win32Platform::GetPrivateProfileIntW(const Text& section, const Text& key, int defaultValue,
                                          const Text& path) {
    return ::GetPrivateProfileIntW(Wide(section), Wide(key), defaultValue, Wide(path));
}

Text Win32Platform::GetPrivateProfileStringW(const Text& section, const Text& key,
                                             const Text& defaultValue, std::size_t size,
                                             const Text& path) {
    if (size == 0) return Text();
    std::u16string buffer(size, u'\0');
    const DWORD got = ::GetPrivateProfileStringW(Wide(section), Wide(key), Wide(defaultValue),
                                                 reinterpret_cast<wchar_t*>(&buffer[0]),
                                                 static_cast<DWORD>(size), Wide(path));
    buffer.resize(got < size ? got : size - 1);
    return buffer;
}

BOOL Win32Platform::GetPrivateProfileStructW(const Text& section, const Text& key, void* buffer,
                                             UINT size, const Text& path) {
    return ::GetPrivateProfileStructW(Wide(section), Wide(key), buffer, size, Wide(path));
}

BOOL Win32Platform::WritePrivateProfileStringW(const Text& section, const Text& key,
                                               const Text& value, const Text& path) {
    return ::WritePrivateProfileStringW(Wide(section), Wide(key), Wide(value), Wide(path));
}

BOOL Win32Platform::WritePrivateProfileStructW(const Text& section, const Text& key,
                                               const void* buffer, UINT size, const Text& path) {
    return ::WritePrivateProfileStructW(Wide(section), Wide(key), const_cast<void*>(buffer), size,
                                        Wide(path));
}

bool Win32Platform::ReplaceWholeFile(const Text& path, const std::string& bytes) {
    // Written beside the file, flushed, then moved over it: a failure at any
    // point leaves the old file whole.
    const Text temporary = path + u".new";
    HANDLE file = ::CreateFileW(Wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ok = ok && written == bytes.size() && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    if (ok && ::MoveFileExW(Wide(temporary), Wide(path),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(Wide(temporary));
    return false;
}
