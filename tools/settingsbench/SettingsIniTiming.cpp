// Times the settings-file operations on a full realistic config.ini (six
// profiles, ten buttons each, every macro block filled) through the
// platform's own profile functions and through the portable code. Prints
// median and 90th percentile per operation. Usage: settings_ini_timing [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/PlatformIniFile.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/WholeFileIniWriter.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/SettingsSamples.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* name, int runs, const std::function<void(int)>& operation) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        operation(i);
        ::QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-58s median %9.3f ms   p90 %9.3f ms   (%d runs)\n", name, times[times.size() / 2],
                times[times.size() * 9 / 10], runs);
}

Text TextOf(const std::wstring& wide) { return Text(reinterpret_cast<const char16_t*>(wide.c_str())); }

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    Win32Platform platform;
    SetPlatform(&platform);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"settings-timing-" + std::to_wstring(::GetCurrentProcessId()) + L".ini";
    ::DeleteFileW(path.c_str());
    const Text file = TextOf(path);
    const ServiceSettings full = samples::FullSettings();
    ServiceSettings changed = full;
    for (auto& profile : changed.Profiles) {
        profile.LIFT = 9;
        for (auto& button : profile.Buttons) button.ButtonData[0] ^= 0x01;
    }
    {
        PortableIniFile writer(file);
        WriteAllSettings(writer, full);
        WriteProfileSlot(writer, 0, full.Profiles[0]);
    }
    WIN32_FILE_ATTRIBUTE_DATA info{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info);
    std::printf("settings file: %lu bytes\n", static_cast<unsigned long>(info.nFileSizeLow));

    ServiceSettings settings = full;
    Report("ReloadActiveProfile, platform functions, fresh file", runs, [&](int) {
        PlatformIniFile ini(file);
        ReloadActiveProfile(ini, settings);
    });
    // Wine keeps a parsed copy of a file whose time stamp is over 2.1 s old
    // and unchanged; Windows itself reads the file on every call.
    ::Sleep(2500);
    Report("ReloadActiveProfile, platform functions, file 2.5 s old", runs, [&](int) {
        PlatformIniFile ini(file);
        ReloadActiveProfile(ini, settings);
    });
    Report("ReloadActiveProfile, portable reader, one file read", runs, [&](int) {
        PortableIniFile ini(file, PortableIniFile::ReadMode::Once);
        ReloadActiveProfile(ini, settings);
    });
    Report("ReloadActiveProfile, portable reader, file read per key", runs, [&](int) {
        PortableIniFile ini(file);
        ReloadActiveProfile(ini, settings);
    });
    Report("ReadAllSettings, platform functions", std::max(1, runs / 5), [&](int) {
        PlatformIniFile ini(file);
        ReadAllSettings(ini, settings);
    });
    Report("ReadAllSettings, portable reader, one file read", runs, [&](int) {
        PortableIniFile ini(file, PortableIniFile::ReadMode::Once);
        ReadAllSettings(ini, settings);
    });
    const int writeRuns = std::max(2, runs / 10);
    Report("WriteAllSettings, platform functions, nothing changes", writeRuns, [&](int) {
        PlatformIniFile ini(file);
        WriteAllSettings(ini, full);
    });
    Report("WriteAllSettings, platform functions, every block changes", writeRuns, [&](int i) {
        PlatformIniFile ini(file);
        WriteAllSettings(ini, i % 2 ? full : changed);
    });
    Report("WriteAllSettings, portable writer, nothing changes", writeRuns, [&](int) {
        PortableIniFile ini(file);
        WriteAllSettings(ini, full);
    });
    Report("WriteAllSettings, portable writer, every block changes", writeRuns, [&](int i) {
        PortableIniFile ini(file);
        WriteAllSettings(ini, i % 2 ? full : changed);
    });
    Report("WriteAllSettings, whole-file writer (the service's), every block changes", writeRuns, [&](int i) {
        WholeFileIniWriter ini(file);
        WriteAllSettings(ini, i % 2 ? full : changed);
        ini.Commit();
    });
    ::DeleteFileW(path.c_str());
    SetPlatform(nullptr);
    return 0;
}
