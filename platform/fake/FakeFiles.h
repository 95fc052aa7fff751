// The fake file system: files and folders in memory (paths compared without
// regard to ASCII case), the roaming application-data folder, and files that
// exist but cannot be read for a while, as when another program holds them
// open without sharing. The profile functions answer as on a system without
// them: the default for reads, failure for writes; the host reads and writes
// INI files with the portable code.
#pragma once

#include <map>
#include <optional>
#include <set>

#include "platform/Files.h"
#include "platform/fake/FakeWorld.h"

class FakeFiles final : public FileServices {
public:
    explicit FakeFiles(FakeWorld& world) : world_(world) {}

    std::optional<Text> SHGetFolderPathW(int csidl) override;
    int SHCreateDirectoryExW(const Text& path) override;
    BOOL CopyFileW(const Text& from, const Text& to, BOOL failIfExists) override;
    bool FindFirstFileExists(const Text& path) override;
    FileRead ReadWholeFile(const Text& path) override;
    bool ReplaceWholeFile(const Text& path, const std::string& bytes) override;
    UINT GetPrivateProfileIntW(const Text& section, const Text& key, int defaultValue,
                               const Text& path) override;
    Text GetPrivateProfileStringW(const Text& section, const Text& key, const Text& defaultValue,
                                  std::size_t size, const Text& path) override;
    BOOL GetPrivateProfileStructW(const Text& section, const Text& key, void* buffer, UINT size,
                                  const Text& path) override;
    BOOL WritePrivateProfileStringW(const Text& section, const Text& key, const Text& value,
                                    const Text& path) override;
    BOOL WritePrivateProfileStructW(const Text& section, const Text& key, const void* buffer,
                                    UINT size, const Text& path) override;

    // --- set-up ---
    // Leave empty to make SHGetFolderPathW fail.
    void SetAppDataFolder(std::optional<Text> folder);
    void AddFile(const Text& path, const std::string& bytes);
    void AddFolder(const Text& path);
    void RemoveFile(const Text& path);
    // Another program holds the file open without sharing: reads fail as
    // "could not be read" (with `error`) and writes and copies fail, while
    // the file stays as it is. The hold ends after `failedReads` reads, or
    // with ReleaseFile when that is negative.
    void HoldFile(const Text& path, int failedReads = -1, DWORD error = ERROR_SHARING_VIOLATION);
    void ReleaseFile(const Text& path);
    // Another program has the file open sharing reads only: it can be read,
    // but replacing it fails with `error` until AllowReplace.
    void DenyReplace(const Text& path, DWORD error = ERROR_SHARING_VIOLATION);
    void AllowReplace(const Text& path);

    // --- inspection ---
    std::optional<std::string> File(const Text& path) const;
    bool FolderExists(const Text& path) const;

private:
    static Text ParentFolder(const Text& path);
    // True when the file is held at this open; a read uses up one held read.
    bool HeldLocked(const Text& path, DWORD& error, bool reading);

    FakeWorld& world_;
    std::optional<Text> appData_ = Text(u"C:\\users\\user\\AppData\\Roaming");
    std::map<Text, std::string> files_;  // folded path -> bytes
    std::set<Text> folders_;             // folded paths without trailing backslash
    std::map<Text, DWORD> replaceDenied_;  // folded path -> error
    std::map<Text, std::pair<int, DWORD>> holds_;  // folded path -> reads left to fail (negative: until released), error
};
