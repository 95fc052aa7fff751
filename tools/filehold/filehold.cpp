// filehold.exe PATH MILLISECONDS
// Opens an existing file for reading and writing without sharing it, as a
// scanner or another program might, and keeps it open that long: every other
// open of the file fails with a sharing violation meanwhile. Exit code 0
// after the hold, 2 when the file could not be opened, 1 on bad arguments.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: filehold PATH MILLISECONDS\n");
        return 1;
    }
    wchar_t* end = nullptr;
    const unsigned long milliseconds = std::wcstoul(argv[2], &end, 10);
    if (end == argv[2] || *end != L'\0') return 1;
    HANDLE file = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    ::Sleep(milliseconds);
    ::CloseHandle(file);
    return 0;
}
