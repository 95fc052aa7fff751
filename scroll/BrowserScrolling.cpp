#include "scroll/BrowserScrolling.h"

#include "scroll/ScrollDelivery.h"

namespace scroll {
namespace {

// An interface pointer counts as obtained only with a success code and a
// value; after a failure the pointer is not trusted, not even to release it.
bool Obtained(HRESULT result, BrowserObject object) { return result >= 0 && object != nullptr; }

void ScrollDocument(const ScrollSystem& system, HWND view, HMODULE library, int n, bool toLeft) {
    BrowserAccess& com = system.Browser;
    const UINT getObject = com.RegisterWindowMessageW(u"WM_HTML_GETOBJECT");
    if (getObject == 0) return;
    LRESULT answer = 0;
    if (!system.Sender.SendMessageTimeoutW(view, getObject, 0, 0, SMTO_ABORTIFHUNG,
                                           kBrowserAnswerTimeoutMs, &answer))
        return;

    BrowserObject document = nullptr;
    BrowserObject script = nullptr;
    BrowserObject window = nullptr;
    const HRESULT gotDocument = com.ObjectFromLresult(library, answer, &document);
    if (!Obtained(gotDocument, document)) return;
    const HRESULT gotScript = com.GetScript(document, &script);
    if (Obtained(gotScript, script)) {
        const HRESULT gotWindow = com.QueryWindow(script, &window);
        if (Obtained(gotWindow, window)) {
            const LONG pixels = kBrowserPixelsPerStep * n;
            const HRESULT scrolled = com.ScrollBy(window, toLeft ? -pixels : pixels, 0);
            if (scrolled != S_OK && n > 0)
                SendScrollSteps(system.Sender, view, toLeft ? SB_LINELEFT : SB_LINERIGHT, n);
            com.Release(window);
        }
        com.Release(script);
    }
    com.Release(document);
}

}  // namespace

void ScrollBrowserHorizontally(const ScrollSystem& system, int n, bool toLeft) {
    if (n < 0) n = 0;
    if (n > kMaxScrollSteps) n = kMaxScrollSteps;

    POINT pointer{};
    HWND view = nullptr;
    if (system.Sender.GetCursorPos(&pointer)) view = system.Windows.WindowFromPoint(pointer);
    const Text className = view != nullptr ? system.Windows.GetClassNameW(view) : Text();

    BrowserAccess& com = system.Browser;
    // Only a successful initialisation (S_OK or S_FALSE) is balanced with an
    // uninitialisation; a thread already in another apartment keeps its own.
    const bool initialised = com.CoInitialize() >= 0;
    if (HMODULE library = com.LoadLibraryW(u"OLEACC.DLL")) {
        if (className == u"Internet Explorer_Server") ScrollDocument(system, view, library, n, toLeft);
        com.FreeLibrary(library);
    }
    if (initialised) com.CoUninitialize();
}

}  // namespace scroll
