// The browser's own scrolling, reached through accessibility and COM: the
// document object of a browser window and its script window's scrollBy.
//
// Each method stands for the call named beside it. On Windows the
// implementation makes it (scroll/win32); tests script the answers and
// record the calls, so every decision of the browser step runs on the host.
#pragma once

#include "platform/Text.h"
#include "platform/WinTypes.h"

// An interface pointer handed out by BrowserAccess; each one obtained is
// given back through Release.
using BrowserObject = void*;

class BrowserAccess {
public:
    virtual ~BrowserAccess() = default;

    // CoInitialize(null) on the calling thread.
    virtual HRESULT CoInitialize() = 0;
    // CoUninitialize.
    virtual void CoUninitialize() = 0;
    // LoadLibraryW; null when the library cannot be loaded.
    virtual HMODULE LoadLibraryW(const Text& name) = 0;
    // FreeLibrary.
    virtual void FreeLibrary(HMODULE library) = 0;
    // RegisterWindowMessageW; 0 on failure.
    virtual UINT RegisterWindowMessageW(const Text& name) = 0;
    // GetProcAddress(library, "ObjectFromLresult") and, when the entry point
    // exists, ObjectFromLresult(result, IID_IHTMLDocument2, 0, document).
    // A negative result when the entry point is missing or the call fails.
    virtual HRESULT ObjectFromLresult(HMODULE library, LRESULT result, BrowserObject* document) = 0;
    // IHTMLDocument2::get_Script.
    virtual HRESULT GetScript(BrowserObject document, BrowserObject* script) = 0;
    // IDispatch::QueryInterface(IID_IHTMLWindow2) on the script object.
    virtual HRESULT QueryWindow(BrowserObject script, BrowserObject* window) = 0;
    // IHTMLWindow2::scrollBy(x, y).
    virtual HRESULT ScrollBy(BrowserObject window, LONG x, LONG y) = 0;
    // IUnknown::Release.
    virtual void Release(BrowserObject object) = 0;
};
