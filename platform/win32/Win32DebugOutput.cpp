// Debug lines go to the system's channel from one writer thread of their
// own (platform/DebugLineQueue.h says why). The queue and the thread live
// until the process ends: the writer may be stuck in the system's call when
// the rest of the program has finished. At exit the lines still queued get a
// short while to go out.
#include <windows.h>

#include <cstdlib>
#include <mutex>

#include "platform/DebugLineQueue.h"
#include "platform/win32/Win32Platform.h"

namespace {

constexpr unsigned kWriterIdleWaitMs = 60000;
// While lines come (one within kWriterBusyForMs), the writer looks for new
// ones every kWriterPollMs instead of being woken by each: the wake-up would
// cost the thread that made the line, typically the input thread in the middle
// of a button event, a call into the system (under Wine a server round trip).
// Quiet for longer, it sleeps until the next line wakes it.
constexpr unsigned kWriterPollMs = 50;
constexpr DWORD kWriterBusyForMs = 5000;
constexpr unsigned kExitFlushMs = 500;
// Once woken by a line, the writer lets the thread that made it finish its
// work before handing lines to the system: the system's call is slow (under
// Wine several server round trips per line) and would compete with a button
// event's handling for the processor and the server.
constexpr DWORD kBurstHoldOffMs = 10;

DebugLineQueue& Queue() {
    static DebugLineQueue* queue = new DebugLineQueue();  // never destroyed, see above
    return *queue;
}

DWORD WINAPI WriteDebugLines(void*) {
    DWORD lastLine = ::GetTickCount() - kWriterBusyForMs;
    for (;;) {
        const bool busy = ::GetTickCount() - lastLine < kWriterBusyForMs;
        std::optional<Text> line = busy ? Queue().Next(kWriterPollMs, false) : Queue().Next(kWriterIdleWaitMs);
        if (!line) continue;
        if (!busy) ::Sleep(kBurstHoldOffMs);
        lastLine = ::GetTickCount();
        // The burst goes out whole; lines pushed meanwhile wake nobody.
        for (; line; line = Queue().Next(0)) {
            ::OutputDebugStringW(Wide(*line));
            Queue().Written();
        }
    }
}

void FlushAtExit() { Queue().WaitUntilWritten(kExitFlushMs); }

void StartWriterOnce() {
    static std::once_flag started;
    std::call_once(started, [] {
        HANDLE writer = ::CreateThread(nullptr, 0, &WriteDebugLines, nullptr, 0, nullptr);
        if (writer != nullptr) ::CloseHandle(writer);
        std::atexit(&FlushAtExit);
    });
}

}  // namespace

void Win32Kernel::OutputDebugStringW(const Text& line) {
    StartWriterOnce();
    Queue().Push(line);
}
