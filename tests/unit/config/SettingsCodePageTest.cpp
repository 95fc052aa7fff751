// A settings file without a byte-order mark is in the system's ANSI code
// page: texts are read with it and written back with it, so they survive a
// read and a full write unchanged whatever the code page is.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "config/SettingsFile.h"
#include "config/SettingsValidation.h"
#include "tests/support/SettingsSamples.h"
#include "tests/unit/config/SettingsFileTestSupport.h"

namespace {

using SettingsCodePageTest = SettingsFileFixture;

struct WordCase {
    unsigned codePage;
    std::string bytes;  // the code page's bytes of samples::WordOfCodePage
};

TEST_F(SettingsCodePageTest, TextsSurviveAReadAndAFullWriteInEachCodePage) {
    const WordCase cases[] = {
        {1252, "Caf\xE9 \xE9t\xE9 \xC4\xDF"},
        {1251, "\xC8\xE3\xF0\xE0 \xB8\xC6"},
        {932, "\x83\x51\x81\x5B\x83\x80\x95\x5C\x83\x5C \xB1"},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(c.codePage);
        ASSERT_TRUE(fake.kernel.SetAnsiCodePage(c.codePage));
        fake.files.RemoveFile(SettingsFilePath());
        const auto written = std::make_unique<ServiceSettings>(samples::SettingsWithTexts(samples::WordOfCodePage(c.codePage)));
        WriteAllSettings(*written);
        const std::string file = SettingsFile();
        EXPECT_NE(file.find("Name=" + c.bytes + " 1\r\n"), std::string::npos) << "written in the code page";

        auto read = std::make_unique<ServiceSettings>(samples::DefaultSettings());
        ASSERT_EQ(ReadAllSettings(*read), FileReadStatus::Read);
        for (int k = 1; k < kProfileCount; ++k) {
            const ProfileRecord& w = written->Profiles[k];
            const ProfileRecord& r = read->Profiles[k];
            EXPECT_EQ(TextFromField(r.Name, kNameLength), TextFromField(w.Name, kNameLength));
            EXPECT_EQ(TextFromField(r.Launch, kLaunchLength), TextFromField(w.Launch, kLaunchLength));
            for (int b = 0; b < kButtonCount; ++b) {
                EXPECT_EQ(TextFromField(r.Buttons[b].MacroName, kMacroNameLength),
                          TextFromField(w.Buttons[b].MacroName, kMacroNameLength));
                EXPECT_EQ(TextFromField(r.Buttons[b].Path, kPathLength), TextFromField(w.Buttons[b].Path, kPathLength));
            }
        }
        // Start-up's reload and full write leave the file byte for byte.
        auto working = std::make_unique<ServiceSettings>();
        auto snapshot = std::make_unique<ServiceSettings>();
        std::memset(working.get(), 0, sizeof *working);
        ReloadSettings(*working, *snapshot);
        WriteAllSettings(*working);
        EXPECT_EQ(SettingsFile(), file);
    }
}

TEST_F(SettingsCodePageTest, TheSameBytesReadAsTheSystemsCodePageSays) {
    PutSettingsFile("[GROUP1]\r\nName=\xC8\xE3\xF0\xE0\r\n");
    const struct {
        unsigned codePage;
        Text name;
    } cases[] = {{1251, u"\u0418\u0433\u0440\u0430"}, {1252, u"\u00C8\u00E3\u00F0\u00E0"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(fake.kernel.SetAnsiCodePage(c.codePage));
        auto read = std::make_unique<ServiceSettings>(samples::DefaultSettings());
        ReadAllSettings(*read);
        EXPECT_EQ(TextFromField(read->Profiles[1].Name, kNameLength), c.name) << c.codePage;
    }
}

}  // namespace
