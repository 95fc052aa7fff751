// The outcome of reading a whole file: its bytes, or why there are none. A
// file that is there but cannot be read (held open without sharing by
// another program, access denied, a read error) is not a missing file.
#pragma once

#include <string>

enum class FileReadStatus { Read, Missing, Unreadable };

struct FileRead {
    FileReadStatus Status = FileReadStatus::Missing;
    std::string Bytes;  // the whole file when Status is Read, else empty
};
