#include "config/ActiveProfileCache.h"

#include "config/IniDocument.h"
#include "config/PortableIniFile.h"
#include "platform/Platform.h"

std::shared_ptr<const ActiveProfileRead> ActiveProfileCache::Read(const Text& path) {
    FileRead file = Sys().Files.ReadWholeFile(path);
    if (file.Status == FileReadStatus::Unreadable) return nullptr;
    const AnsiCodePage& ansi = Sys().Kernel.SystemAnsiCodePage();
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (read_ != nullptr && path_ == path && status_ == file.Status && codePage_ == ansi.Identifier() &&
            bytes_ == file.Bytes)
            return read_;
    }
    // Parsed outside the lock: another thread's read need not wait for it.
    auto fresh = std::make_shared<ActiveProfileRead>();
    IniDocument document;
    if (file.Status == FileReadStatus::Read) document = ParseIniDocument(file.Bytes, ansi);
    PortableIniFile ini(path, std::move(document));
    ReadActiveProfile(ini, *fresh);
    std::lock_guard<std::mutex> guard(lock_);
    ++parses_;
    path_ = path;
    status_ = file.Status;
    codePage_ = ansi.Identifier();
    bytes_ = std::move(file.Bytes);
    read_ = fresh;
    return fresh;
}

int ActiveProfileCache::Parses() const {
    std::lock_guard<std::mutex> guard(lock_);
    return parses_;
}
