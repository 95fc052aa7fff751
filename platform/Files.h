// Folders, files and the platform's INI profile functions: the file
// system's part of the platform seam.
#pragma once

#include <optional>
#include <string>

#include "platform/Text.h"
#include "platform/WinTypes.h"

// What reading a whole file found: the bytes, no such file, or a file that
// exists but could not be read (held open without sharing, access denied).
enum class FileReadStatus { Read, Missing, Unreadable };

struct FileRead {
    FileReadStatus Status = FileReadStatus::Missing;
    std::string Bytes;
    DWORD Error = 0;  // the system's error code when not Read
};

class FileServices {
public:
    // The roaming application-data folder (created if missing), or nothing.
    virtual std::optional<Text> SHGetFolderPathW(int csidl) = 0;
    virtual int SHCreateDirectoryExW(const Text& path) = 0;
    virtual BOOL CopyFileW(const Text& from, const Text& to, BOOL failIfExists) = 0;
    // True when a find-first-file search for the path finds an entry.
    virtual bool FindFirstFileExists(const Text& path) = 0;
    // The whole file, opened for reading with read and write sharing.
    virtual FileRead ReadWholeFile(const Text& path) = 0;
    // Replaces a file's contents so that a failure part-way leaves either the
    // old or the new contents, never a cut file.
    virtual bool ReplaceWholeFile(const Text& path, const std::string& bytes) = 0;

    // The profile functions. GetPrivateProfileStringW returns at most
    // size - 1 characters.
    virtual UINT GetPrivateProfileIntW(const Text& section, const Text& key, int defaultValue,
                                       const Text& path) = 0;
    virtual Text GetPrivateProfileStringW(const Text& section, const Text& key,
                                          const Text& defaultValue, std::size_t size,
                                          const Text& path) = 0;
    virtual BOOL GetPrivateProfileStructW(const Text& section, const Text& key, void* buffer,
                                          UINT size, const Text& path) = 0;
    virtual BOOL WritePrivateProfileStringW(const Text& section, const Text& key, const Text& value,
                                            const Text& path) = 0;
    virtual BOOL WritePrivateProfileStructW(const Text& section, const Text& key, const void* buffer,
                                            UINT size, const Text& path) = 0;

protected:
    ~FileServices() = default;
};
