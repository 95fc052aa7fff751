// A thin window class over a platform window. Messages reach WindowProc,
// which consults the class's message map and falls back to the default
// window procedure. The framework knows which object owns which window
// handle (FromHandle) so that its message loop can offer each message to the
// window's PreTranslateMessage, and to its parents', before dispatching it.
#pragma once

#include "framework/MessageMap.h"
#include "platform/Platform.h"

class CWnd : public WindowMessageTarget {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    BOOL CreateEx(DWORD exStyle, const Text& className, const Text& title, DWORD style, int x, int y,
                  int width, int height, HWND parent);
    BOOL DestroyWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetParentHwnd() const { return parent_; }

    // The object that owns a window handle of this process, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Offered every message for this window before it is dispatched; true
    // when the message was dealt with here and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    LRESULT HandleWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Default processing of the message being handled.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // The framework's default creation step: 0, or -1 to fail the creation.
    int OnCreateDefault();
    // After the window's last message. The object outlives it: the
    // framework still reads its state when the destruction returns.
    virtual void PostNcDestroy() {}
    // The creator's parent, kept for the message loop's walk to the parents.
    void SetParentHwnd(HWND parent) { parent_ = parent; }
    // Makes this object's window as `creation` describes.
    BOOL CreateFrom(const WindowCreation& creation);
    // Brackets a creation of this object's window: the creation messages
    // are taken only inside it.
    void BeginCreation() { creating_ = true; }
    void EndCreation() { creating_ = false; }

private:
    void Attach(HWND hwnd);
    void Detach();
    // Whether a creation or destruction message can be the system's own:
    // any program can send or post them, and one that comes while the
    // window is neither being made nor destroyed is ignored.
    bool TakesLifecycleMessage(UINT message) const;
    // True once this window, or the window it belongs to, is being destroyed.
    bool BeingDestroyed() const;
    HWND parent_ = nullptr;
    bool creating_ = false;
    bool destroying_ = false;
};
