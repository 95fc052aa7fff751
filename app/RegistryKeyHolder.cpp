#include "app/RegistryKeyHolder.h"

#include "platform/Platform.h"

namespace {

struct RootName {
    const char16_t* name;
    HKEY key;
};

const RootName* KnownRoots() {
    static const RootName roots[] = {
        {u"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {u"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {u"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {u"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {nullptr, nullptr},
    };
    return roots;
}

}  // namespace

bool ParseRegistryPath(const Text& fullPath, RegistryPath& parsed) {
    const auto slash = fullPath.find(u'\\');
    if (slash == Text::npos) return false;
    const Text rootName = fullPath.substr(0, slash);
    for (const RootName* root = KnownRoots(); root->name != nullptr; ++root) {
        if (EqualsIgnoringCase(rootName, root->name)) {
            parsed.root = root->key;
            parsed.subKey = fullPath.substr(slash + 1);
            return true;
        }
    }
    parsed.root = HKEY_LOCAL_MACHINE;
    parsed.subKey = fullPath;
    return true;
}

RegistryKeyHolder::~RegistryKeyHolder() { Close(); }

bool RegistryKeyHolder::Open(const Text& fullPath, REGSAM access) {
    Close();
    RegistryPath parsed{root_, keyPath_};
    if (ParseRegistryPath(fullPath, parsed)) {
        root_ = parsed.root;
        keyPath_ = parsed.subKey.substr(0, kMaxKeyPath - 1);
    }
    HKEY opened = nullptr;
    if (Sys().Shell.RegOpenKeyExW(root_, keyPath_, access, &opened) == static_cast<LONG>(ERROR_SUCCESS)) {
        key_ = opened;
        return true;
    }
    if (Sys().Shell.RegCreateKeyW(root_, keyPath_, &opened) == static_cast<LONG>(ERROR_SUCCESS)) {
        key_ = opened;
        return true;
    }
    return false;
}

void RegistryKeyHolder::Close() {
    if (key_ != nullptr) Sys().Shell.RegCloseKey(key_);
    key_ = nullptr;
    keyPath_.clear();
}
