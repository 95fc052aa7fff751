// Feeds arbitrary bytes as config.ini to the portable INI reader and to the
// settings reads, on the fake platform, under one of its ANSI code pages. Checks that nothing reads or writes
// out of bounds (sanitizers), that every text field stays terminated inside
// its array, and that the saved form of a file is stable once normalised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/DataFolder.h"
#include "config/IniDocument.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsValidation.h"
#include "platform/fake/FakePlatform.h"

namespace {

bool Terminated(const char16_t* field, std::size_t capacity) {
    for (std::size_t i = 0; i < capacity; ++i)
        if (field[i] == 0) return true;
    return false;
}

void CheckTexts(const ServiceSettings& s) {
    for (const auto& p : s.Profiles) {
        if (!Terminated(p.Name, kNameLength) || !Terminated(p.Launch, kLaunchLength)) std::abort();
        for (const auto& b : p.Buttons)
            if (!Terminated(b.MacroName, kMacroNameLength) || !Terminated(b.Path, kPathLength)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fresh fake per input: its record of calls would otherwise grow without end.
    FakePlatform fake;
    SetPlatform(&fake);
    fake.files.SetAppDataFolder(Text(u"C:\\users\\fuzz\\AppData\\Roaming"));
    // The system's ANSI code page, taken from the input's length: single-byte
    // Western and Cyrillic, and the double-byte Japanese one.
    static constexpr unsigned kCodePages[] = {1252, 1251, 932};
    fake.kernel.SetAnsiCodePage(kCodePages[size % 3]);
    ResolveFolders();
    fake.files.AddFolder(DataFolder());
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fake.files.AddFile(SettingsFilePath(), bytes);

    // The settings reads, through the same accessor the service uses.
    ServiceSettings working;
    std::memset(&working, 0, sizeof working);
    ServiceSettings snapshot = working;
    ReloadSettings(working, snapshot);
    CheckTexts(working);
    ReloadActiveProfile(working);
    if (working.Profile < 0 || working.Profile >= kProfileCount) std::abort();
    CheckTexts(working);

    // The portable reader's document: reads of names taken from the input
    // itself, and a stable saved form.
    const AnsiCodePage& ansi = fake.kernel.SystemAnsiCodePage();
    const IniDocument document = ParseIniDocument(bytes, ansi);
    int lookups = 0;  // bounded: each lookup scans the document
    for (const auto& section : document.sections) {
        for (const auto& entry : section.entries) {
            if (++lookups > 64) break;
            ReadIniString(document, section.name, entry.name, u"d", kIniTextRoom);
            ReadIniInt(document, section.name, entry.name, -1);
            std::uint8_t block[61];
            ReadIniBlock(document, section.name, entry.name, block, 60);
        }
    }
    const std::string once = SaveIniDocument(ParseIniDocument(SaveIniDocument(document, ansi), ansi), ansi);
    const std::string twice = SaveIniDocument(ParseIniDocument(once, ansi), ansi);
    if (once != twice) std::abort();

    // A write through the portable writer leaves a file that reads back the value.
    PortableIniFile file(SettingsFilePath());
    file.WriteInt(u"Setting", u"Plug", static_cast<std::int32_t>(size));
    const std::int32_t plug = file.GetInt(u"Setting", u"Plug", -1);
    if (size > 0 && plug != static_cast<std::int32_t>(size)) std::abort();
    SetPlatform(nullptr);
    return 0;
}
