// COM and accessibility calls of the browser step. Every decision about
// what to do with their answers is made in scroll/BrowserScrolling.cpp.
#include "scroll/win32/Win32Scroll.h"

#include <mshtml.h>
#include <objbase.h>

namespace {

using ObjectFromLresultCall = HRESULT(WINAPI*)(LRESULT result, REFIID iid, WPARAM wParam, void** object);

}  // namespace

HRESULT Win32BrowserAccess::CoInitialize() { return ::CoInitialize(nullptr); }

void Win32BrowserAccess::CoUninitialize() { ::CoUninitialize(); }

HMODULE Win32BrowserAccess::LoadLibraryW(const Text& name) {
    return ::LoadLibraryW(reinterpret_cast<const wchar_t*>(name.c_str()));
}

void Win32BrowserAccess::FreeLibrary(HMODULE library) { ::FreeLibrary(library); }

UINT Win32BrowserAccess::RegisterWindowMessageW(const Text& name) {
    return ::RegisterWindowMessageW(reinterpret_cast<const wchar_t*>(name.c_str()));
}

HRESULT Win32BrowserAccess::ObjectFromLresult(HMODULE library, LRESULT result, BrowserObject* document) {
    void* entry = reinterpret_cast<void*>(::GetProcAddress(library, "ObjectFromLresult"));
    if (entry == nullptr) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    const auto call = reinterpret_cast<ObjectFromLresultCall>(entry);
    return call(result, IID_IHTMLDocument2, 0, document);
}

HRESULT Win32BrowserAccess::GetScript(BrowserObject document, BrowserObject* script) {
    IDispatch* dispatch = nullptr;
    const HRESULT result = static_cast<IHTMLDocument2*>(document)->get_Script(&dispatch);
    *script = dispatch;
    return result;
}

HRESULT Win32BrowserAccess::QueryWindow(BrowserObject script, BrowserObject* window) {
    return static_cast<IDispatch*>(script)->QueryInterface(IID_IHTMLWindow2, window);
}

HRESULT Win32BrowserAccess::ScrollBy(BrowserObject window, LONG x, LONG y) {
    return static_cast<IHTMLWindow2*>(window)->scrollBy(x, y);
}

void Win32BrowserAccess::Release(BrowserObject object) { static_cast<IUnknown*>(object)->Release(); }

const ScrollSystem& ProcessScrollSystem() {
    static PlatformScrollWindows windows;
    static PlatformScrollSender sender;
    static Win32BrowserAccess browser;
    static const ScrollSystem system{windows, sender, browser};
    return system;
}
