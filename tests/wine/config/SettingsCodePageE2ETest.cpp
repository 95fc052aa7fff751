// The installed service on a settings file written by the platform in the
// system's ANSI code page (CTest runs this under a Western, a Cyrillic and a
// Japanese locale), with words of that code page in every text field: start-up
// reads the file and writes it back whole, and the file must come out byte
// for byte as it went in, every text unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/wine/harness/ServiceHarness.h"

namespace {

using namespace e2e;

// The same words as tests/support/SettingsSamples.h's WordOfCodePage.
std::wstring Word() {
    switch (::GetACP()) {
    case 1251: return L"\u0418\u0433\u0440\u0430 \u0451\u0416";
    case 932: return L"\u30B2\u30FC\u30E0\u8868\u30BD \uFF71";
    default: return L"Caf\u00E9 \u00E9t\u00E9 \u00C4\u00DF";
    }
}

struct TextKey {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

// Name and Launch of every slot, MacroName and Path of every button.
std::vector<TextKey> TextKeys() {
    const std::wstring word = Word();
    std::vector<TextKey> keys;
    for (int k = 0; k <= 5; ++k) {
        const std::wstring slot = std::to_wstring(k);
        keys.push_back({L"GROUP" + slot, L"Name", word + L" " + slot});
        keys.push_back({L"GROUP" + slot, L"Launch", word + slot + L".exe"});
        for (int n = 1; n <= 10; ++n) {
            const std::wstring section = L"ButtonAssigned" + slot + L"_" + std::to_wstring(n);
            keys.push_back({section, L"MacroName", word + L" " + slot + L"-" + std::to_wstring(n)});
            keys.push_back({section, L"Path", L"C:\\" + word + L"\\" + word + std::to_wstring(n) + L".exe"});
        }
    }
    return keys;
}

TEST(SettingsCodePageE2E, TextsOfTheCodePageSurviveStartUpUnchanged) {
    ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
    CloseStragglers();
    RemoveTree(DataFolder());
    const std::wstring folder = MakeInstallCopy({L"HidDevice.dll"});  // no mouse: Plug stays 0
    CreateDirectoryW(DataFolder().c_str(), nullptr);
    const std::wstring ini = DataFolder() + L"config.ini";
    ASSERT_TRUE(CopyFileW((folder + L"\\config.ini").c_str(), ini.c_str(), FALSE));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Setting", L"Plug", L"0", ini.c_str()));
    const std::vector<TextKey> keys = TextKeys();
    for (const TextKey& t : keys)
        ASSERT_TRUE(WritePrivateProfileStringW(t.section.c_str(), t.key.c_str(), t.value.c_str(), ini.c_str()));
    const std::string before = ReadFile(ini);
    ASSERT_NE(before.substr(0, 2), "\xFF\xFE") << "an ANSI file";

    RunningService service = StartService(folder);
    ASSERT_NE(service.window, nullptr);
    DWORD_PTR result = 0;  // returns once the creation handler has finished
    ASSERT_TRUE(SendMessageTimeoutW(service.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
    DWORD exitCode = 1;
    ASSERT_TRUE(CloseService(service, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    EXPECT_EQ(ReadFile(ini), before) << "code page " << ::GetACP();
    for (const TextKey& t : keys) {
        wchar_t value[300] = {};
        GetPrivateProfileStringW(t.section.c_str(), t.key.c_str(), L"<missing>", value, 300, ini.c_str());
        EXPECT_EQ(std::wstring(value), t.value) << std::string(t.section.begin(), t.section.end());
    }
    RemoveTree(folder);
}

}  // namespace
