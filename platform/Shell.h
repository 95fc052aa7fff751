// Starting programs, the registry and COM: the shell's part of the
// platform seam.
#pragma once

#include "platform/Text.h"
#include "platform/WinTypes.h"

class ShellServices {
public:
    virtual HINSTANCE ShellExecuteW(HWND owner, const Text& verb, const Text& file,
                                    const Text& parameters, const Text& directory, int show) = 0;
    virtual LONG RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) = 0;
    virtual LONG RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
    virtual void CoUninitialize() = 0;

protected:
    ~ShellServices() = default;
};
