// Stand-in tray program: the window the service closes when the mouse goes
// and at shut-down. It logs every message to "trayicon.log" beside itself.
#include <string>

#include "contract/Names.h"
#include "tools/standin/StandInWindow.h"

int wmain() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring log = path;
    const auto slash = log.find_last_of(L'\\');
    log = (slash == std::wstring::npos ? std::wstring() : log.substr(0, slash + 1)) + L"trayicon.log";
    return RunStandInWindow(reinterpret_cast<const wchar_t*>(kTrayProgramTitle), log);
}
