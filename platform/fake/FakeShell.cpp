#include "platform/fake/FakeShell.h"

#include "platform/fake/FakeKernel.h"

namespace {
std::string RootText(HKEY root) { return FakeHex(reinterpret_cast<std::uintptr_t>(root)); }
}  // namespace

HINSTANCE FakeShell::ShellExecuteW(HWND owner, const Text& verb, const Text& file,
                                   const Text& parameters, const Text& directory, int show) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("ShellExecuteW " + TextToUtf8(verb) + " " + TextToUtf8(file) + " " + std::to_string(show));
    shellExecutes_.push_back(FakeShellExecute{owner, verb, file, parameters, directory, show, world_.now});
    // Above 32 means the program was started.
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(42));
}

LONG FakeShell::RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("RegOpenKeyExW " + RootText(root) + " " + TextToUtf8(subKey) + " " + FakeHex(access));
    if (registryFails_) return static_cast<LONG>(ERROR_ACCESS_DENIED);
    if (!RegistryKeyExists(root, subKey)) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    *result = reinterpret_cast<HKEY>(world_.nextHandle++);
    openRegistryKeys_.insert(*result);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG FakeShell::RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("RegCreateKeyW " + RootText(root) + " " + TextToUtf8(subKey));
    if (registryFails_) return static_cast<LONG>(ERROR_ACCESS_DENIED);
    AddRegistryKey(root, subKey);
    *result = reinterpret_cast<HKEY>(world_.nextHandle++);
    openRegistryKeys_.insert(*result);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG FakeShell::RegCloseKey(HKEY key) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("RegCloseKey");
    return openRegistryKeys_.erase(key) ? static_cast<LONG>(ERROR_SUCCESS)
                                        : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
}

void FakeShell::CoUninitialize() { world_.Record("CoUninitialize"); }

void FakeShell::AddRegistryKey(HKEY root, const Text& subKey) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    registryKeys_.insert({reinterpret_cast<std::uintptr_t>(root), FakeFoldPath(subKey)});
}

void FakeShell::FailRegistry(bool fail) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    registryFails_ = fail;
}

std::vector<FakeShellExecute> FakeShell::ShellExecutes() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return shellExecutes_;
}

bool FakeShell::RegistryKeyExists(HKEY root, const Text& subKey) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return registryKeys_.count({reinterpret_cast<std::uintptr_t>(root), FakeFoldPath(subKey)}) > 0;
}

std::size_t FakeShell::OpenRegistryKeys() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return openRegistryKeys_.size();
}
