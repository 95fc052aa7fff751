// The real browser access behind horizontal scrolling: each method makes the
// COM call it stands for.
#pragma once

#include "scroll/PlatformScroll.h"

class Win32BrowserAccess final : public BrowserAccess {
public:
    HRESULT CoInitialize() override;
    void CoUninitialize() override;
    HMODULE LoadLibraryW(const Text& name) override;
    void FreeLibrary(HMODULE library) override;
    UINT RegisterWindowMessageW(const Text& name) override;
    HRESULT ObjectFromLresult(HMODULE library, LRESULT result, BrowserObject* document) override;
    HRESULT GetScript(BrowserObject document, BrowserObject* script) override;
    HRESULT QueryWindow(BrowserObject script, BrowserObject* window) override;
    HRESULT ScrollBy(BrowserObject window, LONG x, LONG y) override;
    void Release(BrowserObject object) override;
};
