// What the test tools that run beside the service share: the options
// [--out FILE] [--stop-event NAME] | --signal NAME, one flushed line per
// event, a stop event that Ctrl-C sets too, and the performance counter in
// microseconds (comparable across processes of one machine). Windows only.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <mutex>
#include <string>

namespace toolrun {

struct Options {
    const wchar_t* Out = nullptr;
    const wchar_t* StopEvent = nullptr;
    std::map<std::wstring, const wchar_t*> Extra;  // the tool's own options, by name
};

inline FILE*& Out() {
    static FILE* out = stdout;
    return out;
}

inline HANDLE& StopEvent() {
    static HANDLE stop = nullptr;
    return stop;
}

inline unsigned long long MicrosecondsNow() {
    static const unsigned long long frequency = [] {
        LARGE_INTEGER f{};
        return ::QueryPerformanceFrequency(&f) && f.QuadPart > 0 ? static_cast<unsigned long long>(f.QuadPart) : 0ull;
    }();
    if (frequency == 0) return 0;
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<unsigned long long>(counter.QuadPart);
    return ticks / frequency * 1000000ull + ticks % frequency * 1000000ull / frequency;
}

// One line, flushed at once; any thread may write.
inline void WriteLine(const std::string& line) {
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    std::fputs(line.c_str(), Out());
    std::fputc('\n', Out());
    std::fflush(Out());
}

// Sets the named event: stops a tool started with that name.
inline int Signal(const wchar_t* name) {
    HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (event == nullptr) return 1;
    const BOOL set = ::SetEvent(event);
    ::CloseHandle(event);
    return set ? 0 : 1;
}

// Reads the options; -1 when the tool is to run, else the exit code (2 with
// `usage` printed for bad use, Signal's code for --signal).
inline int ParseOptions(int argc, wchar_t** argv, const char* usage,
                        std::initializer_list<const wchar_t*> extraNames, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        bool known = option == L"--signal" || option == L"--out" || option == L"--stop-event";
        for (const wchar_t* name : extraNames) known = known || option == name;
        if (!known || i + 1 >= argc) {
            std::fputs(usage, stderr);
            return 2;
        }
        const wchar_t* value = argv[++i];
        if (option == L"--signal") return Signal(value);
        if (option == L"--out")
            options.Out = value;
        else if (option == L"--stop-event")
            options.StopEvent = value;
        else
            options.Extra[option] = value;
    }
    return -1;
}

inline BOOL WINAPI StopOnConsoleControl(DWORD) {
    ::SetEvent(StopEvent());
    return TRUE;
}

// Opens the output (standard output without --out) in `mode` and makes the
// stop event, which Ctrl-C sets too. False, with a message, on failure.
inline bool Start(const char* tool, const Options& options, const wchar_t* mode) {
    if (MicrosecondsNow() == 0) return false;
    if (options.Out != nullptr) {
        Out() = _wfopen(options.Out, mode);
        if (Out() == nullptr) {
            Out() = stdout;
            std::fprintf(stderr, "%s: cannot open the output file\n", tool);
            return false;
        }
    }
    StopEvent() = ::CreateEventW(nullptr, TRUE, FALSE, options.StopEvent);
    if (StopEvent() == nullptr) return false;
    ::SetConsoleCtrlHandler(StopOnConsoleControl, TRUE);
    return true;
}

inline void Finish() {
    if (StopEvent() != nullptr) ::CloseHandle(StopEvent());
    StopEvent() = nullptr;
    if (Out() != stdout) std::fclose(Out());
    Out() = stdout;
}

}  // namespace toolrun
