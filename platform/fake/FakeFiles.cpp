#include "platform/fake/FakeFiles.h"

#include "platform/fake/FakeKernel.h"

Text FakeFiles::ParentFolder(const Text& path) {
    const Text folded = FakeFoldPath(path);
    const auto slash = folded.find_last_of(u'\\');
    if (slash == Text::npos) return Text();
    return folded.substr(0, slash);
}

bool FakeFiles::HeldLocked(const Text& path, DWORD& error, bool reading) {
    auto hold = holds_.find(FakeFoldPath(path));
    if (hold == holds_.end()) return false;
    error = hold->second.second;
    if (reading && hold->second.first > 0 && --hold->second.first == 0) holds_.erase(hold);
    return true;
}

std::optional<Text> FakeFiles::SHGetFolderPathW(int csidl) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SHGetFolderPathW " + FakeHex(static_cast<unsigned>(csidl)));
    if (appData_ && (csidl & CSIDL_FLAG_CREATE)) AddFolder(*appData_);
    if (appData_ && !FolderExists(*appData_)) return std::nullopt;
    return appData_;
}

int FakeFiles::SHCreateDirectoryExW(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SHCreateDirectoryExW " + TextToUtf8(path));
    if (FolderExists(path)) return static_cast<int>(ERROR_ALREADY_EXISTS);
    AddFolder(path);
    return static_cast<int>(ERROR_SUCCESS);
}

BOOL FakeFiles::CopyFileW(const Text& from, const Text& to, BOOL failIfExists) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("CopyFileW " + TextToUtf8(from) + " -> " + TextToUtf8(to) + (failIfExists ? " failIfExists" : ""));
    auto source = files_.find(FakeFoldPath(from));
    if (source == files_.end()) {
        world_.lastError = ERROR_FILE_NOT_FOUND;
        return FALSE;
    }
    if (failIfExists && files_.count(FakeFoldPath(to))) {
        world_.lastError = ERROR_ALREADY_EXISTS;
        return FALSE;
    }
    if (!FolderExists(ParentFolder(to))) {
        world_.lastError = ERROR_PATH_NOT_FOUND;
        return FALSE;
    }
    DWORD error = 0;
    if (HeldLocked(from, error, false) || HeldLocked(to, error, false)) {
        world_.lastError = error;
        return FALSE;
    }
    files_[FakeFoldPath(to)] = source->second;
    return TRUE;
}

bool FakeFiles::FindFirstFileExists(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("FindFirstFileW " + TextToUtf8(path));
    return files_.count(FakeFoldPath(path)) > 0 || folders_.count(FakeFoldPath(path)) > 0;
}

FileRead FakeFiles::ReadWholeFile(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("ReadFile " + TextToUtf8(path));
    FileRead result;
    auto it = files_.find(FakeFoldPath(path));
    if (it == files_.end()) {
        result.Status = FileReadStatus::Missing;
        result.Error = FolderExists(ParentFolder(path)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        return result;
    }
    if (HeldLocked(path, result.Error, true)) {
        result.Status = FileReadStatus::Unreadable;
        return result;
    }
    result.Status = FileReadStatus::Read;
    result.Bytes = it->second;
    return result;
}

bool FakeFiles::ReplaceWholeFile(const Text& path, const std::string& bytes) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("WriteFile " + TextToUtf8(path));
    if (!FolderExists(ParentFolder(path))) return false;
    DWORD error = 0;
    if (files_.count(FakeFoldPath(path)) && HeldLocked(path, error, false)) {
        world_.lastError = error;
        return false;
    }
    const auto denied = replaceDenied_.find(FakeFoldPath(path));
    if (denied != replaceDenied_.end()) {
        world_.lastError = denied->second;
        return false;
    }
    files_[FakeFoldPath(path)] = bytes;
    return true;
}

UINT FakeFiles::GetPrivateProfileIntW(const Text&, const Text&, int defaultValue, const Text&) {
    return static_cast<UINT>(defaultValue);
}

Text FakeFiles::GetPrivateProfileStringW(const Text&, const Text&, const Text& defaultValue,
                                         std::size_t size, const Text&) {
    return size == 0 ? Text() : defaultValue.substr(0, size - 1);
}

BOOL FakeFiles::GetPrivateProfileStructW(const Text&, const Text&, void*, UINT, const Text&) {
    return FALSE;
}

BOOL FakeFiles::WritePrivateProfileStringW(const Text&, const Text&, const Text&, const Text&) {
    return FALSE;
}

BOOL FakeFiles::WritePrivateProfileStructW(const Text&, const Text&, const void*, UINT, const Text&) {
    return FALSE;
}

void FakeFiles::SetAppDataFolder(std::optional<Text> folder) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    appData_ = std::move(folder);
}

void FakeFiles::AddFile(const Text& path, const std::string& bytes) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    AddFolder(ParentFolder(path));
    files_[FakeFoldPath(path)] = bytes;
}

void FakeFiles::AddFolder(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    Text folder = FakeFoldPath(path);
    while (!folder.empty()) {
        folders_.insert(folder);
        const auto slash = folder.find_last_of(u'\\');
        if (slash == Text::npos) break;
        folder = folder.substr(0, slash);
    }
}

void FakeFiles::RemoveFile(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    files_.erase(FakeFoldPath(path));
}

void FakeFiles::HoldFile(const Text& path, int failedReads, DWORD error) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    if (failedReads == 0) return;
    holds_[FakeFoldPath(path)] = {failedReads < 0 ? -1 : failedReads, error};
}

void FakeFiles::ReleaseFile(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    holds_.erase(FakeFoldPath(path));
}

void FakeFiles::DenyReplace(const Text& path, DWORD error) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    replaceDenied_[FakeFoldPath(path)] = error;
}

void FakeFiles::AllowReplace(const Text& path) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    replaceDenied_.erase(FakeFoldPath(path));
}

std::optional<std::string> FakeFiles::File(const Text& path) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    auto it = files_.find(FakeFoldPath(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

bool FakeFiles::FolderExists(const Text& path) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return folders_.count(FakeFoldPath(path)) > 0;
}
