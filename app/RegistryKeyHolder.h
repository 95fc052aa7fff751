// Holds one open registry key, named by a full path such as
// "HKEY_CURRENT_USER\Control Panel\Mouse". Closing and destruction release it.
#pragma once

#include "platform/Text.h"
#include "platform/WinTypes.h"

struct RegistryPath {
    HKEY root;
    Text subKey;
};

// Splits "ROOT\sub\key" at the first backslash. Known root names (any case)
// select their key; any other root selects HKEY_LOCAL_MACHINE with the whole
// text as the sub-key. Without a backslash nothing is parsed: empty result.
bool ParseRegistryPath(const Text& fullPath, RegistryPath& parsed);

class RegistryKeyHolder {
public:
    RegistryKeyHolder() = default;
    ~RegistryKeyHolder();
    RegistryKeyHolder(const RegistryKeyHolder&) = delete;
    RegistryKeyHolder& operator=(const RegistryKeyHolder&) = delete;

    // Opens the key, creating it when it cannot be opened. True on success.
    bool Open(const Text& fullPath, REGSAM access);
    void Close();

    HKEY Key() const { return key_; }
    HKEY Root() const { return root_; }
    const Text& KeyPath() const { return keyPath_; }

private:
    static constexpr std::size_t kMaxKeyPath = 260;

    HKEY key_ = nullptr;
    HKEY root_ = nullptr;
    Text keyPath_;
};
