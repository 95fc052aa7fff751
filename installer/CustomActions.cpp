// installeractions.dll: the package's own custom actions, run by Windows
// Installer from the package (never installed).
#include <windows.h>

#include <msi.h>

#include "installer/ServiceCloser.h"

namespace {
// Long enough for a full write into the mouse to finish and the shut-down to run.
constexpr DWORD kCloseWaitMs = 10000;
}  // namespace

// Before files are replaced or removed: the running service closes cleanly
// (the mouse gets its last state report, the tray program closes). A service
// still running after the wait fails the action; the package ignores the
// failure, so a hung service never makes removal impossible.
extern "C" UINT __stdcall CloseService(MSIHANDLE) {
    return CloseRunningService(kCloseWaitMs) ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}
