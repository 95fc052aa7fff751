// Debug-output reader: prints every line that any process of this Windows
// session writes with OutputDebugStringA or OutputDebugStringW, as they
// happen, without a debugger attached to the writer.
//
//   debuglines.exe [--out FILE] [--stop-event NAME]
//       reads until Ctrl-C or until the named event is set; prints "ready"
//       once it listens
//   debuglines.exe --signal NAME
//       sets the named event (stops a reader started with that name)
//
// It takes the reader's side of the system's debug-output channel, the one
// that debug viewers on Windows use (and that Wine's OutputDebugStringA
// also serves when no debugger is attached):
//   - "DBWinMutex"          a mutex the writers take around each line;
//   - "DBWIN_BUFFER"        a 4 KiB shared section: the writer's process id
//                           (4 bytes), then the text, ending in a zero byte;
//   - "DBWIN_BUFFER_READY"  set by the reader when the section is free;
//   - "DBWIN_DATA_READY"    set by the writer when it has filled the section.
// A writer waits (a bounded time) for BUFFER_READY, fills the section and
// sets DATA_READY; the reader copies the text out and sets BUFFER_READY
// again. OutputDebugStringW hands the writer's text over in the system's
// ANSI code page; this reader prints it as UTF-8.
//
// One line per debug line, flushed as soon as it is written:
//   debug t=<us> pid=<pid> exe=<file name> <text>
// t is QueryPerformanceCounter in microseconds (comparable with the input
// recorder's); a text with line breaks gives one output line per part;
// empty parts are left out.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "tools/common/ToolRun.h"

namespace {

constexpr DWORD kSectionSize = 4096;
constexpr DWORD kTextOffset = sizeof(DWORD);

using toolrun::MicrosecondsNow;
using toolrun::WriteLine;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                              nullptr);
    return out;
}

// The writer's text is in the ANSI code page.
std::string AnsiToUtf8(const std::string& text) {
    if (text.empty()) return std::string();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return Utf8(wide);
}

// File name of a process's program, "?" when it cannot be found (it may
// have ended already). Remembered per process id for the reader's life.
std::string ProgramName(DWORD pid) {
    static std::map<DWORD, std::string> known;
    const auto found = known.find(pid);
    if (found != known.end()) return found->second;
    std::string name = "?";
    if (HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (::QueryFullProcessImageNameW(process, 0, path, &size) && size > 0) {
            std::wstring full(path, size);
            const auto slash = full.find_last_of(L"\\/");
            name = Utf8(slash == std::wstring::npos ? full : full.substr(slash + 1));
        }
        ::CloseHandle(process);
    }
    if (name != "?") known[pid] = name;
    return name;
}

void PrintDebugText(DWORD pid, const std::string& text, unsigned long long t) {
    const std::string prefix =
        "debug t=" + std::to_string(t) + " pid=" + std::to_string(pid) + " exe=" + ProgramName(pid) + " ";
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) WriteLine(prefix + AnsiToUtf8(text.substr(start, end - start)));
        start = end + 1;
    }
}

struct Channel {
    HANDLE mutex = nullptr;
    HANDLE section = nullptr;
    HANDLE bufferReady = nullptr;
    HANDLE dataReady = nullptr;
    const unsigned char* view = nullptr;
};

// Creates the reader's side. Fails when another reader holds the section.
bool OpenChannel(Channel& c) {
    c.mutex = ::CreateMutexW(nullptr, FALSE, L"DBWinMutex");
    c.section = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSectionSize,
                                     L"DBWIN_BUFFER");
    if (c.section == nullptr) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fputs("debuglines: another debug-output reader is running\n", stderr);
        return false;
    }
    c.bufferReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    c.dataReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    c.view = static_cast<const unsigned char*>(::MapViewOfFile(c.section, FILE_MAP_READ, 0, 0, kSectionSize));
    return c.bufferReady != nullptr && c.dataReady != nullptr && c.view != nullptr;
}

void CloseChannel(Channel& c) {
    if (c.view != nullptr) ::UnmapViewOfFile(c.view);
    for (HANDLE h : {c.dataReady, c.bufferReady, c.section, c.mutex})
        if (h != nullptr) ::CloseHandle(h);
}

void ReadUntilStopped(const Channel& c) {
    const HANDLE waits[2] = {toolrun::StopEvent(), c.dataReady};
    for (;;) {
        ::SetEvent(c.bufferReady);
        const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait failed
        const unsigned long long t = MicrosecondsNow();
        DWORD pid = 0;
        std::memcpy(&pid, c.view, sizeof pid);
        // The text ends at its zero byte, and never beyond the section.
        const char* text = reinterpret_cast<const char*>(c.view + kTextOffset);
        const std::size_t length = strnlen(text, kSectionSize - kTextOffset);
        const std::string copy(text, length);
        PrintDebugText(pid, copy, t);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    toolrun::Options options;
    const int parsed = toolrun::ParseOptions(
        argc, argv, "usage: debuglines [--out FILE] [--stop-event NAME] | --signal NAME\n", {}, options);
    if (parsed >= 0) return parsed;
    if (!toolrun::Start("debuglines", options, L"w")) return 1;

    Channel channel;
    if (!OpenChannel(channel)) {
        CloseChannel(channel);
        std::fputs("debuglines: cannot open the debug-output channel\n", stderr);
        return 1;
    }
    WriteLine("ready");
    ReadUntilStopped(channel);
    CloseChannel(channel);
    toolrun::Finish();
    return 0;
}
