// Settings editor: reads and changes button assignments and profile
// programs in the user's settings file (config.ini in "<roaming app
// data>\Tolvy Wimb\"), through the system's profile functions, the same way
// the configuration program does.
//
//   settingsedit assign [--profile P] INDEX FUNCTION [key K] [macro "EVENTS"]
//                       [mode held|toggle|N] [path TEXT] [name TEXT]
//   settingsedit show [--profile P] [INDEX]
//   settingsedit launch P FILE        the program whose coming to the front
//                                     selects profile P ("" clears it)
//   settingsedit active               the active profile's index
//   settingsedit names                the function and key names
// INDEX is the button index 0 to 9 (button n of the file is index n - 1);
// P a profile slot 0 to 5, by default the active one.
// Exit code: 0 done, 1 the settings file is missing or cannot be written,
// 2 bad arguments (the message says which).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/settingsedit/ButtonAssignmentText.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

int Usage() {
    std::fputs(
        "usage: settingsedit assign [--profile P] INDEX FUNCTION [key K] [macro \"EVENTS\"] [mode held|toggle|N]"
        " [path TEXT] [name TEXT]\n"
        "       settingsedit show [--profile P] [INDEX]\n"
        "       settingsedit launch P FILE | active | names\n",
        stderr);
    return kExitUsage;
}

int Refuse(const std::string& message) {
    std::fprintf(stderr, "settingsedit: %s\n", message.c_str());
    return kExitUsage;
}

class SettingsFile {
public:
    bool Locate() {
        wchar_t appData[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return false;
        path_ = std::wstring(appData) + L"\\Tolvy Wimb\\config.ini";
        return GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string Path() const { return Utf8(path_); }

    int ActiveProfile() const {
        const int p = static_cast<int>(GetPrivateProfileIntW(L"Setting", L"Profile", 0, path_.c_str()));
        return p >= 0 && p < kProfileCount ? p : 0;  // the service takes any other value as slot 0
    }

    ButtonAssignmentValues Read(int profile, int index) const {
        const std::wstring section = ButtonSection(profile, index);
        ButtonAssignmentValues v;
        v.ButtonID = static_cast<std::int32_t>(GetPrivateProfileIntW(section.c_str(), L"ButtonID", -1, path_.c_str()));
        v.ButtonFunc = static_cast<std::uint8_t>(GetPrivateProfileIntW(section.c_str(), L"ButtonFunc", -1, path_.c_str()));
        v.KeyNumber = static_cast<std::uint8_t>(GetPrivateProfileIntW(section.c_str(), L"KeyNumber", -1, path_.c_str()));
        v.MacroName = Text(section, L"MacroName");
        v.Path = Text(section, L"Path");
        GetPrivateProfileStructW(GroupSection(profile).c_str(), section.c_str(), v.ButtonData.data(),
                                 static_cast<UINT>(v.ButtonData.size()), path_.c_str());
        return v;
    }

    bool Write(int profile, int index, const ButtonAssignmentValues& v) const {
        const std::wstring section = ButtonSection(profile, index);
        bool ok = WriteNumber(section, L"ButtonID", v.ButtonID);
        ok = WriteNumber(section, L"ButtonFunc", v.ButtonFunc) && ok;
        ok = WriteNumber(section, L"KeyNumber", v.KeyNumber) && ok;
        ok = WritePrivateProfileStringW(section.c_str(), L"MacroName", Wide(v.MacroName).c_str(), path_.c_str()) && ok;
        ok = WritePrivateProfileStringW(section.c_str(), L"Path", Wide(v.Path).c_str(), path_.c_str()) && ok;
        std::vector<BYTE> data(v.ButtonData.begin(), v.ButtonData.end());
        ok = WritePrivateProfileStructW(GroupSection(profile).c_str(), section.c_str(), data.data(),
                                        static_cast<UINT>(data.size()), path_.c_str()) && ok;
        return ok;
    }

    std::string Launch(int profile) const { return Text(GroupSection(profile), L"Launch"); }
    bool SetLaunch(int profile, const std::string& file) const {
        return WritePrivateProfileStringW(GroupSection(profile).c_str(), L"Launch", Wide(file).c_str(), path_.c_str());
    }

private:
    static std::wstring GroupSection(int profile) { return L"GROUP" + std::to_wstring(profile); }
    static std::wstring ButtonSection(int profile, int index) {
        return L"ButtonAssigned" + std::to_wstring(profile) + L"_" + std::to_wstring(index + 1);
    }
    std::string Text(const std::wstring& section, const wchar_t* key) const {
        wchar_t value[2048] = {};
        GetPrivateProfileStringW(section.c_str(), key, L"", value, 2048, path_.c_str());
        return Utf8(value);
    }
    bool WriteNumber(const std::wstring& section, const wchar_t* key, long value) const {
        return WritePrivateProfileStringW(section.c_str(), key, std::to_wstring(value).c_str(), path_.c_str());
    }

    std::wstring path_;
};

void PrintButton(const SettingsFile& file, int profile, int index) {
    std::printf("profile %d button %d: %s\n", profile, index, DescribeAssignment(file.Read(profile, index)).c_str());
}

// "--profile P" in front of the other words; the active profile otherwise.
bool TakeProfile(std::vector<std::string>& words, const SettingsFile& file, int& profile, std::string& error) {
    profile = file.ActiveProfile();
    if (words.empty() || words[0] != "--profile") return true;
    if (words.size() < 2) {
        error = "missing value after '--profile'";
        return false;
    }
    if (!ParseProfileIndex(words[1], profile, error)) return false;
    words.erase(words.begin(), words.begin() + 2);
    return true;
}

int Names() {
    std::puts("functions:");
    for (const NamedCode& f : FunctionNames()) std::printf("  %-20s %u\n", f.Name, f.Code);
    std::puts("keys:");
    for (const NamedCode& k : KeyNames()) std::printf("  %-20s 0x%02x\n", k.Name, k.Code);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::string command = Utf8(argv[1]);
    std::vector<std::string> words;
    for (int i = 2; i < argc; ++i) words.push_back(Utf8(argv[i]));
    if (command == "names" && words.empty()) return Names();
    if (command != "assign" && command != "show" && command != "launch" && command != "active") return Usage();

    SettingsFile file;
    if (!file.Locate()) {
        std::fprintf(stderr, "settingsedit: no settings file at %s (the service makes it when it first starts)\n",
                     file.Path().c_str());
        return kExitFailed;
    }
    std::string error;
    if (command == "active") {
        if (!words.empty()) return Usage();
        std::printf("%d\n", file.ActiveProfile());
        return 0;
    }
    if (command == "launch") {
        int profile = 0;
        if (words.size() != 2) return Usage();
        if (!ParseProfileIndex(words[0], profile, error)) return Refuse(error);
        if (words[1].find_first_of("\r\n\\/") != std::string::npos || words[1].size() >= kLaunchLength)
            return Refuse("the program is a file name without a folder, at most 259 characters");
        if (!file.SetLaunch(profile, words[1])) return kExitFailed;
        std::printf("profile %d launch: \"%s\"\n", profile, file.Launch(profile).c_str());
        return 0;
    }
    int profile = 0;
    if (!TakeProfile(words, file, profile, error)) return Refuse(error);
    if (command == "show") {
        if (words.size() > 1) return Usage();
        int index = 0;
        if (words.size() == 1) {
            if (!ParseButtonIndex(words[0], index, error)) return Refuse(error);
            PrintButton(file, profile, index);
            return 0;
        }
        std::printf("profile %d launch: \"%s\"\n", profile, file.Launch(profile).c_str());
        for (index = 0; index < kButtonCount; ++index) PrintButton(file, profile, index);
        return 0;
    }
    // assign
    if (words.empty()) return Usage();
    int index = 0;
    if (!ParseButtonIndex(words[0], index, error)) return Refuse(error);
    ButtonAssignmentValues values;
    if (!ParseAssignment(std::vector<std::string>(words.begin() + 1, words.end()), values, error))
        return Refuse(error);
    if (!file.Write(profile, index, values)) {
        std::fprintf(stderr, "settingsedit: cannot write %s\n", file.Path().c_str());
        return kExitFailed;
    }
    PrintButton(file, profile, index);
    return 0;
}
