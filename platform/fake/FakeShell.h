// The fake shell: programs started (recorded, never run), registry keys
// that exist or not, and COM's uninitialisation.
#pragma once

#include <set>
#include <vector>

#include "platform/Shell.h"
#include "platform/fake/FakeWorld.h"

struct FakeShellExecute {
    HWND owner = nullptr;
    Text verb;
    Text file;
    Text parameters;
    Text directory;
    int show = 0;
    std::uint64_t time = 0;
};

class FakeShell final : public ShellServices {
public:
    explicit FakeShell(FakeWorld& world) : world_(world) {}

    HINSTANCE ShellExecuteW(HWND owner, const Text& verb, const Text& file, const Text& parameters,
                            const Text& directory, int show) override;
    LONG RegOpenKeyExW(HKEY root, const Text& subKey, REGSAM access, HKEY* result) override;
    LONG RegCreateKeyW(HKEY root, const Text& subKey, HKEY* result) override;
    LONG RegCloseKey(HKEY key) override;
    void CoUninitialize() override;

    // --- set-up ---
    void AddRegistryKey(HKEY root, const Text& subKey);
    // While set, registry opens and creates fail with access denied.
    void FailRegistry(bool fail);

    // --- inspection ---
    std::vector<FakeShellExecute> ShellExecutes() const;
    bool RegistryKeyExists(HKEY root, const Text& subKey) const;
    std::size_t OpenRegistryKeys() const;

private:
    FakeWorld& world_;
    std::vector<FakeShellExecute> shellExecutes_;
    std::set<std::pair<std::uintptr_t, Text>> registryKeys_;
    std::set<HKEY> openRegistryKeys_;
    bool registryFails_ = false;
};
