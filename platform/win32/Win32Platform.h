// The real platform: every call goes to the Win32 API. One class per area
// of the seam, each in its own file, and the aggregate the program installs.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32PreciseClock.h"

class Win32Kernel final : public KernelServices {
public:
    HANDLE CreateMutexW(const Text& name) override;
    DWORD GetLastError() override;
    BOOL ReleaseMutex(HANDLE mutex) override;
    BOOL CloseHandle(HANDLE handle) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    HANDLE CreateThread(std::size_t stackSize, ThreadRoutine routine, void* parameter,
                        DWORD* threadId) override;
    DWORD GetCurrentThreadId() override;
    BOOL SetCurrentThreadPriority(int priority) override;
    int GetCurrentThreadPriority() override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetTickCount() override;
    void OutputDebugStringW(const Text& line) override;
    HMODULE LoadLibraryW(const Text& name) override;
    void* GetProcAddress(HMODULE module, const char* name) override;
    void* GetProcAddressByOrdinal(HMODULE module, WORD ordinal) override;
    Text GetModuleFileNameW() override;
    const AnsiCodePage& SystemAnsiCodePage() override { return codePage_; }

private:
    Win32AnsiCodePage codePage_;

    // --- processes: which program owns the foreground ---
public:
    HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) override;
    BOOL Process32FirstW(HANDLE snapshot, ProcessEntry* entry) override;
    BOOL Process32NextW(HANDLE snapshot, ProcessEntry* entry) override;
    HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId) override;
    BOOL QueryFullProcessImageNameW(HANDLE process, Text* path) override;
};

class Win32Windows final : public WindowServices {
public:
    HWND CreateWindowExW(const WindowCreation& creation, WindowMessageTarget* target) override;
    HWND CreateDialogParamW(UINT templateId, HWND parent, WindowMessageTarget* target) override;
    BOOL DestroyWindow(HWND hwnd) override;
    LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LONG SetWindowLongW(HWND hwnd, int index, LONG value) override;
    LONG GetWindowLongW(HWND hwnd, int index) override;
    HWND FindWindowW(const Text& className, const Text& title) override;
    BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) override;
    BOOL KillTimer(HWND hwnd, UINT_PTR id) override;
    BOOL GetMessageW(MSG* msg) override;
    LRESULT DispatchMessageW(const MSG* msg) override;
    void PostQuitMessage(int exitCode) override;
    BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) override;
    HANDLE LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) override;
    HANDLE SetCursor(HANDLE cursor) override;
    HWND WindowFromPoint(POINT screen) override;
    HWND ChildWindowFromPoint(HWND parent, POINT screen) override;
    HWND GetDesktopWindow() override;
    Text GetClassNameW(HWND hwnd) override;
    BOOL GetWindowRect(HWND hwnd, RECT* rect) override;
    HWND GetParent(HWND hwnd) override;
    HWND GetWindow(HWND hwnd, UINT relation) override;
    void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) override;
    LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, LRESULT* result) override;
    int GetSystemMetrics(int index) override;
    HWND GetForegroundWindow() override;
    DWORD GetWindowThreadProcessId(HWND hwnd) override;
    BOOL AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) override;
    BOOL SetForegroundWindow(HWND hwnd) override;

    // --- foreground changes and the programs that own windows ---
    DWORD GetWindowProcessId(HWND hwnd) override;
    HANDLE SetWinEventHook(DWORD eventMin, DWORD eventMax, WinEventCallback callback) override;
    BOOL UnhookWinEvent(HANDLE hook) override;

    // --- Skinned interface ---
    BOOL ShowWindow(HWND hwnd, int command) override;
    BOOL IsWindowVisible(HWND hwnd) override;
    BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height,
                      UINT flags) override;
    BOOL SetWindowTextW(HWND hwnd, const Text& text) override;
    BOOL GetClientRect(HWND hwnd, RECT* rect) override;
    BOOL ClientToScreen(HWND hwnd, POINT* point) override;
    BOOL ScreenToClient(HWND hwnd, POINT* point) override;
    int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) override;
    BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) override;
    BOOL UpdateWindow(HWND hwnd) override;
    HWND SetCapture(HWND hwnd) override;
    BOOL ReleaseCapture() override;
    HWND GetCapture() override;
    BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags) override;
    DWORD MsgWaitForMultipleObjects(DWORD milliseconds, DWORD wake) override;
    // --- a wait that keeps answering ---
    void HandleSentMessages() override;
    // --- end ---
};

// --- Skinned interface: drawing ---
class Win32Graphics final : public GraphicsServices {
public:
    HDC GetDC(HWND hwnd) override;
    int ReleaseDC(HWND hwnd, HDC hdc) override;
    HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) override;
    BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) override;
    HDC CreateCompatibleDC(HDC reference) override;
    BOOL DeleteDC(HDC hdc) override;
    HBITMAP CreateCompatibleBitmap(HDC reference, int width, int height) override;
    HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) override;
    BOOL DeleteObject(HGDIOBJ object) override;
    BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size) override;
    BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                DWORD rop) override;
    BOOL StretchBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, DWORD rop) override;
    int SetBkMode(HDC hdc, int mode) override;
    int DrawTextW(HDC hdc, const Text& text, RECT* rect, UINT format) override;
    HBITMAP OleLoadPicture(const std::string& bytes) override;
    bool GetBitmapPixels32(HBITMAP bitmap, std::vector<std::uint8_t>& pixels, int& width,
                           int& height) override;
    HRGN ExtCreateRegion(const std::vector<std::uint8_t>& data) override;
    int CombineRgn(HRGN target, HRGN first, HRGN second, int mode) override;
};

class Win32Files final : public FileServices {
public:
    std::optional<Text> SHGetFolderPathW(int csidl) override;
    int SHCreateDirectoryExW(const Text& path) override;
    BOOL CopyFileW(const Text& from, const Text& to, BOOL failIfExists) override;
    bool FindFirstFileExists(const Text& path) override;
    FileRead ReadWholeFile(const Text& path) override;
    bool ReplaceWholeFile(const Text& path, const std::string& bytes) override;
    UINT GetPrivateProfileIntW(const Text& section, const Text& key, int defaultValue,
                               const Text& path) override;
    Text GetPrivateProfileStringW(const Text& section, const Text& key, const Text& defaultValue,
                                  std::size_t size, const Text& path) override;
    BOOL GetPrivateProfileStructW(const Text& section, const Text& key, void* buffer, UINT size,
                                  const Text& path) override;
    BOOL WritePrivateProfileStringW(const Text& section, const Text& key, const Text& value,
                                    const Text& path) override;
    BOOL WritePrivateProfileStructW(const Text& section, const Text& key, const void* buffer,
                                    UINT size, const Text& path) override;
};

class Win32Shell final : public ShellServices {
public:
    HINSTANCE ShellExecuteW(HWND owner, const Text& verb, const Text& file, const Text& parameters,
                            const Text& directory, int show) override;
    LONG RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) override;
    LONG RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) override;
    LONG RegCloseKey(HKEY key) override;
    void CoUninitialize() override;
};

// The areas together, as SetPlatform takes them.
class Win32Platform final : public Platform {
public:
    Win32Platform() : Platform{kernel_, windows_, files_, shell_, input_, clock_, graphics_} {}
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

private:
    Win32Kernel kernel_;
    Win32Windows windows_;
    Win32Files files_;
    Win32Shell shell_;
    Win32Input input_;
    Win32PreciseClock clock_;
    Win32Graphics graphics_;
};

// Win32 wide strings and our UTF-16 text are the same 16-bit units.
inline const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Text FromWide(const wchar_t* wide) {
    return wide ? Text(reinterpret_cast<const char16_t*>(wide)) : Text();
}
