#include "platform/win32/Win32Platform.h"

#include <shlobj.h>

std::optional<Text> Win32Files::SHGetFolderPathW(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return std::nullopt;
    return FromWide(path);
}

int Win32Files::SHCreateDirectoryExW(const Text& path) {
    return ::SHCreateDirectoryExW(nullptr, Wide(path), nullptr);
}

BOOL Win32Files::CopyFileW(const Text& from, const Text& to, BOOL failIfExists) {
    return ::CopyFileW(Wide(from), Wide(to), failIfExists);
}

bool Win32Files::FindFirstFileExists(const Text& path) {
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW(Wide(path), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    ::FindClose(find);
    return true;
}

FileRead Win32Files::ReadWholeFile(const Text& path) {
    FileRead result;
    HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.Error = ::GetLastError();
        const bool missing = result.Error == ERROR_FILE_NOT_FOUND || result.Error == ERROR_PATH_NOT_FOUND;
        result.Status = missing ? FileReadStatus::Missing : FileReadStatus::Unreadable;
        return result;
    }
    char chunk[65536];
    DWORD got = 0;
    BOOL ok = TRUE;
    while ((ok = ::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0)
        result.Bytes.append(chunk, got);
    if (!ok) {
        result.Error = ::GetLastError();
        result.Bytes.clear();
    }
    ::CloseHandle(file);
    result.Status = ok ? FileReadStatus::Read : FileReadStatus::Unreadable;
    return result;
}

UINT Win32Files::GetPrivateProfileIntW(const Text& section, const Text& key, int defaultValue,
                                          const Text& path) {
    return ::GetPrivateProfileIntW(Wide(section), Wide(key), defaultValue, Wide(path));
}

Text Win32Files::GetPrivateProfileStringW(const Text& section, const Text& key,
                                             const Text& defaultValue, std::size_t size,
                                             const Text& path) {
    if (size == 0) return Text();
    std::u16string buffer(size, u'\0');
    const DWORD got = ::GetPrivateProfileStringW(Wide(section), Wide(key), Wide(defaultValue),
                                                 reinterpret_cast<wchar_t*>(&buffer[0]),
                                                 static_cast<DWORD>(size), Wide(path));
    buffer.resize(got < size ? got : size - 1);
    return buffer;
}

BOOL Win32Files::GetPrivateProfileStructW(const Text& section, const Text& key, void* buffer,
                                             UINT size, const Text& path) {
    return ::GetPrivateProfileStructW(Wide(section), Wide(key), buffer, size, Wide(path));
}

BOOL Win32Files::WritePrivateProfileStringW(const Text& section, const Text& key,
                                               const Text& value, const Text& path) {
    return ::WritePrivateProfileStringW(Wide(section), Wide(key), Wide(value), Wide(path));
}

BOOL Win32Files::WritePrivateProfileStructW(const Text& section, const Text& key,
                                               const void* buffer, UINT size, const Text& path) {
    return ::WritePrivateProfileStructW(Wide(section), Wide(key), const_cast<void*>(buffer), size,
                                        Wide(path));
}

bool Win32Files::ReplaceWholeFile(const Text& path, const std::string& bytes) {
    // Written beside the file, flushed, then moved over it: a failure at any
    // point leaves the old file whole.
    const Text temporary = path + u".new";
    HANDLE file = ::CreateFileW(Wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ok = ok && written == bytes.size() && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    if (ok && ::MoveFileExW(Wide(temporary), Wide(path),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(Wide(temporary));
    return false;
}
