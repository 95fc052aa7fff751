#include "hidsim/win32/ControlChannel.h"

#include <windows.h>

#include <vector>

std::wstring ControlPipeName() {
    wchar_t value[200];
    const DWORD n = GetEnvironmentVariableW(L"HIDSIM_PIPE", value, 200);
    if (n > 0 && n < 200) return std::wstring(L"\\\\.\\pipe\\") + value;
    return L"\\\\.\\pipe\\HidSimMouse";
}

bool CallControlPipe(const std::string& request, std::string& answer) {
    const std::wstring name = ControlPipeName();
    std::vector<char> buffer(1 << 20);
    DWORD read = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (CallNamedPipeW(name.c_str(), const_cast<char*>(request.data()), static_cast<DWORD>(request.size()),
                           buffer.data(), static_cast<DWORD>(buffer.size()), &read, 5000)) {
            answer.assign(buffer.data(), read);
            return true;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_MORE_DATA) {
            answer.assign(buffer.data(), read);
            return true;
        }
        if (error != ERROR_PIPE_BUSY && error != ERROR_SEM_TIMEOUT && error != ERROR_FILE_NOT_FOUND) return false;
        Sleep(20);  // the server is between two requests, or not started yet
    }
    return false;
}
