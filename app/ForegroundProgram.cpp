#include "app/ForegroundProgram.h"

#include "app/ForegroundMatch.h"
#include "platform/Platform.h"

std::optional<Text> ProgramFileNameFromImage(DWORD processId) {
    KernelServices& kernel = Sys().Kernel;
    HANDLE process = kernel.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return std::nullopt;
    Text path;
    const BOOL found = kernel.QueryFullProcessImageNameW(process, &path);
    kernel.CloseHandle(process);
    if (!found || path.empty()) return std::nullopt;
    return FileNameOfPath(path);
}

std::optional<Text> ProgramFileNameFromSnapshot(DWORD processId) {
    KernelServices& kernel = Sys().Kernel;
    HANDLE snapshot = kernel.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == nullptr) return std::nullopt;
    std::optional<Text> name;
    ProcessEntry entry;
    // A snapshot lists each process once; the walk still ends at the end of
    // the list whatever it holds.
    for (BOOL more = kernel.Process32FirstW(snapshot, &entry); more; more = kernel.Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) {
            name = FileNameOfPath(entry.szExeFile);
            break;
        }
    }
    kernel.CloseHandle(snapshot);
    return name;
}

std::optional<Text> ProgramFileName(DWORD processId, ProcessLookup lookup) {
    if (lookup == ProcessLookup::ImageThenSnapshot)
        if (auto name = ProgramFileNameFromImage(processId)) return name;
    return ProgramFileNameFromSnapshot(processId);
}
