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
constexpr unsigned kExitFlushMs = 500;

DebugLineQueue& Queue() {
    static DebugLineQueue* queue = new DebugLineQueue();  // never destroyed, see above
    return *queue;
}

DWORD WINAPI WriteDebugLines(void*) {
    for (;;) {
        const std::optional<Text> line = Queue().Next(kWriterIdleWaitMs);
        if (!line) continue;
        ::OutputDebugStringW(Wide(*line));
        Queue().Written();
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
