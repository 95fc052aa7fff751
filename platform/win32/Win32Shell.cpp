#include "platform/win32/Win32Platform.h"

#include <objbase.h>
#include <shellapi.h>

HINSTANCE Win32Shell::ShellExecuteW(HWND owner, const Text& verb, const Text& file,
                                       const Text& parameters, const Text& directory, int show) {
    return ::ShellExecuteW(owner, verb.empty() ? nullptr : Wide(verb), Wide(file),
                           parameters.empty() ? nullptr : Wide(parameters),
                           directory.empty() ? nullptr : Wide(directory), show);
}

LONG Win32Shell::RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) {
    return ::RegOpenKeyExW(root, Wide(subKey), 0, access, result);
}

LONG Win32Shell::RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) {
    return ::RegCreateKeyW(root, Wide(subKey), result);
}

LONG Win32Shell::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }

void Win32Shell::CoUninitialize() { ::CoUninitialize(); }
