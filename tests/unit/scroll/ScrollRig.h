// A recording implementation of the scroll system for host tests: a window
// tree described as data answers the window questions, and every message,
// click, pointer move and browser call is recorded, in order, as one line.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scroll/ScrollSystem.h"

namespace scrolltest {

// One window of a tree. Windows are listed parents first; siblings in their
// stacking order (topmost first), top-level windows likewise.
struct WindowSpec {
    std::string Name;    // how the window appears in recorded calls
    std::string Parent;  // empty for a top-level window
    Text ClassName;
    DWORD Style = 0;
    RECT Rect{};  // screen coordinates
};

// Window handles of the tree are distinct from small numbers, so a handle
// passed as a message parameter is recognisable in the record.
class WindowTree : public ScrollWindows {
public:
    explicit WindowTree(std::vector<WindowSpec> windows);

    HWND Handle(const std::string& name) const;  // fails the test for an unknown name
    std::string NameOf(HWND window) const;       // "desktop", a name, "null" or a number
    HWND Desktop() const { return Handle("desktop"); }

    HWND WindowFromPoint(POINT screen) override;
    HWND GetDesktopWindow() override;
    Text GetClassNameW(HWND window) override;
    LONG GetWindowLongW(HWND window, int index) override;
    BOOL GetWindowRect(HWND window, RECT* rect) override;
    HWND GetParent(HWND window) override;
    HWND GetWindow(HWND window, UINT relation) override;
    HWND ChildWindowFromPoint(HWND parent, POINT screen) override;
    void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) override;

    int InspectionCalls = 0;  // every question asked, for the bounds on walks

private:
    static constexpr std::size_t kNone = SIZE_MAX;
    struct Node {
        WindowSpec Spec;
        std::size_t Parent = kNone;
        std::vector<std::size_t> Children;
    };
    std::size_t IndexOf(HWND window) const;  // kNone for a handle not in the tree
    const std::vector<std::size_t>& SiblingsOf(std::size_t index) const;
    void Visit(std::size_t index, const std::function<bool(HWND)>& visit, bool& go) const;

    std::vector<Node> nodes_;  // nodes_[0] is the desktop window
    std::vector<std::size_t> topLevel_;
};

class RecordingSender : public ScrollSender {
public:
    RecordingSender(const WindowTree& tree, std::vector<std::string>& calls) : tree_(tree), calls_(calls) {}

    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;
    int GetSystemMetrics(int index) override;
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) override;
    BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, LRESULT* result) override;

    POINT Cursor{0, 0};
    bool CursorKnown = true;
    bool ButtonsSwapped = false;
    int SendsAnswered = INT_MAX;  // sends answered before every further one times out
    LRESULT Answer = 0;           // what an answered send gives back

private:
    std::string Parameter(LPARAM value) const;
    const WindowTree& tree_;
    std::vector<std::string>& calls_;
};

// Scripted answers of the browser access; objects are handed out as tokens.
class ScriptedBrowser : public BrowserAccess {
public:
    explicit ScriptedBrowser(std::vector<std::string>& calls) : calls_(calls) {}

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

    HRESULT InitResult = S_OK;
    bool LibraryLoads = true;
    UINT GetObjectMessage = 0xC0DE;
    HRESULT DocumentResult = S_OK;
    HRESULT ScriptResult = S_OK;
    HRESULT WindowResult = S_OK;
    HRESULT ScrollResult = S_OK;
    // A failing call still writes an object, as a careless component might.
    bool ObjectDespiteFailure = false;
    int Outstanding = 0;  // objects handed out and not released

private:
    std::string NameOf(const void* object) const;
    HRESULT HandOut(HRESULT result, void* token, BrowserObject* out);
    std::vector<std::string>& calls_;
    int library_ = 0;
    int document_ = 0;
    int script_ = 0;
    int window_ = 0;
};

// The whole recording system over one window tree.
struct ScrollRig {
    explicit ScrollRig(std::vector<WindowSpec> windows)
        : Tree(std::move(windows)), Sender(Tree, Calls), Browser(Calls) {}
    ScrollSystem System() { return ScrollSystem{Tree, Sender, Browser}; }
    void PointAt(LONG x, LONG y) { Sender.Cursor = POINT{x, y}; }

    std::vector<std::string> Calls;
    WindowTree Tree;
    RecordingSender Sender;
    ScriptedBrowser Browser;
};

// Compares recorded calls with the expected ones; on a mismatch the message
// lists both sequences, one call a line, and where they first differ.
::testing::AssertionResult SameCalls(const std::vector<std::string>& expected,
                                     const std::vector<std::string>& actual);

}  // namespace scrolltest
