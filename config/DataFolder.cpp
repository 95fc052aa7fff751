#include "config/DataFolder.h"

#include "platform/Platform.h"

namespace {

constexpr char16_t kDataFolderName[] = u"Tolvy Wimb";
constexpr char16_t kSettingsFileName[] = u"config.ini";
constexpr char16_t kProfileFolder[] = u"Profiles\\Profiles\\";
constexpr char16_t kMacroFolder[] = u"Macros\\Macros\\";

struct DefaultFile {
    const char16_t* installedName;  // in the program's folder
    const char16_t* dataPath;       // under the data folder
};

// Copied in this order, each only where no file exists yet.
constexpr DefaultFile kDefaultFiles[] = {
    {u"config.ini", u"config.ini"},
    {u"Profile 1.ini", u"Profiles\\Profiles\\Profile 1.ini"},
    {u"Macro 1.ini", u"Macros\\Macros\\Macro 1.ini"},
};

Text g_dataFolder;

}  // namespace

const Text& DataFolder() { return g_dataFolder; }

Text SettingsFilePath() { return g_dataFolder + kSettingsFileName; }

Text FolderOfPath(const Text& path) {
    // Drive and directory as _wsplitpath gives them: everything up to and
    // including the last path separator (or the drive's colon).
    const auto cut = path.find_last_of(u"\\/:");
    if (cut == Text::npos) return Text();
    return path.substr(0, cut + 1);
}

Text ProgramFolder() { return FolderOfPath(Sys().Kernel.GetModuleFileNameW()); }

void ResolveFolders() {
    const std::optional<Text> appData = Sys().Files.SHGetFolderPathW(CSIDL_APPDATA | CSIDL_FLAG_CREATE);
    if (appData) {
        g_dataFolder = *appData + u"\\" + kDataFolderName + u"\\";
    } else {
        g_dataFolder = ProgramFolder();
    }
}

void ProvisionFirstRun() {
    if (Sys().Files.FindFirstFileExists(g_dataFolder + kSettingsFileName)) return;
    const Text programFolder = ProgramFolder();
    Sys().Files.SHCreateDirectoryExW(g_dataFolder + kProfileFolder);
    Sys().Files.SHCreateDirectoryExW(g_dataFolder + kMacroFolder);
    for (const auto& file : kDefaultFiles)
        Sys().Files.CopyFileW(programFolder + file.installedName, g_dataFolder + file.dataPath, TRUE);
}
