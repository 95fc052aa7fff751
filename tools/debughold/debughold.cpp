// debughold.exe MILLISECONDS
// A debug-output reader that has stopped reading, as a paused debug viewer
// is: it sets up the system's debug channel (the DBWIN_BUFFER mapping and its
// two events), never says the buffer is ready, and holds the channel's mutex
// for that long. Every program that writes a debug line meanwhile waits in
// the system's call. Exit code 0 after the hold, 2 when the channel could not
// be set up (another reader has it), 1 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <initializer_list>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: debughold MILLISECONDS\n");
        return 1;
    }
    wchar_t* end = nullptr;
    const unsigned long milliseconds = std::wcstoul(argv[1], &end, 10);
    if (end == argv[1] || *end != L'\0') return 1;

    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, L"DBWinMutex");
    if (mutex == nullptr || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        // Someone else made it: take it, so writers still wait on us.
        if (mutex == nullptr || ::WaitForSingleObject(mutex, 5000) != WAIT_OBJECT_0) return 2;
    }
    HANDLE bufferReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    HANDLE dataReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    HANDLE buffer = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER");
    if (bufferReady == nullptr || dataReady == nullptr || buffer == nullptr) return 2;
    std::fwprintf(stdout, L"holding\n");
    std::fflush(stdout);
    ::Sleep(milliseconds);
    ::ReleaseMutex(mutex);
    for (HANDLE h : {buffer, dataReady, bufferReady, mutex}) ::CloseHandle(h);
    return 0;
}
