// Where the system has no browser interfaces (the host build): the
// accessibility library is never found, so browser steps send nothing.
#include "scroll/PlatformScroll.h"

namespace {

class NoBrowserAccess final : public BrowserAccess {
public:
    HRESULT CoInitialize() override { return kFailed; }
    void CoUninitialize() override {}
    HMODULE LoadLibraryW(const Text&) override { return nullptr; }
    void FreeLibrary(HMODULE) override {}
    UINT RegisterWindowMessageW(const Text&) override { return 0; }
    HRESULT ObjectFromLresult(HMODULE, LRESULT, BrowserObject*) override { return kFailed; }
    HRESULT GetScript(BrowserObject, BrowserObject*) override { return kFailed; }
    HRESULT QueryWindow(BrowserObject, BrowserObject*) override { return kFailed; }
    HRESULT ScrollBy(BrowserObject, LONG, LONG) override { return kFailed; }
    void Release(BrowserObject) override {}

private:
    static constexpr HRESULT kFailed = static_cast<HRESULT>(0x80004005u);  // E_FAIL
};

}  // namespace

const ScrollSystem& ProcessScrollSystem() {
    static PlatformScrollWindows windows;
    static PlatformScrollSender sender;
    static NoBrowserAccess browser;
    static const ScrollSystem system{windows, sender, browser};
    return system;
}
