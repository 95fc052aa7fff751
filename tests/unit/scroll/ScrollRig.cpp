#include "ScrollRig.h"

#include <cstdio>
#include <sstream>

namespace scrolltest {
namespace {

constexpr std::uintptr_t kHandleBase = 0x10000;
constexpr std::uintptr_t kHandleStep = 0x10;

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

std::string Hex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

std::string Message(UINT message) {
    switch (message) {
    case WM_HSCROLL: return "WM_HSCROLL";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    default: return Hex(message);
    }
}

}  // namespace

WindowTree::WindowTree(std::vector<WindowSpec> windows) {
    Node desktop;
    desktop.Spec = WindowSpec{"desktop", "", u"#32769", 0, RECT{-100000, -100000, 100000, 100000}};
    nodes_.push_back(std::move(desktop));
    for (WindowSpec& spec : windows) {
        Node node;
        node.Spec = std::move(spec);
        const std::size_t index = nodes_.size();
        if (node.Spec.Parent.empty()) {
            topLevel_.push_back(index);
        } else {
            for (std::size_t i = 1; i < nodes_.size() && node.Parent == kNone; ++i)
                if (nodes_[i].Spec.Name == node.Spec.Parent) node.Parent = i;
            if (node.Parent == kNone) {
                ADD_FAILURE() << "window " << node.Spec.Name << " names an unknown parent " << node.Spec.Parent;
                continue;
            }
            nodes_[node.Parent].Children.push_back(index);
        }
        nodes_.push_back(std::move(node));
    }
}

HWND WindowTree::Handle(const std::string& name) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].Spec.Name == name) return reinterpret_cast<HWND>(kHandleBase + kHandleStep * i);
    ADD_FAILURE() << "no window named " << name;
    return nullptr;
}

std::size_t WindowTree::IndexOf(HWND window) const {
    const auto value = reinterpret_cast<std::uintptr_t>(window);
    if (value < kHandleBase || (value - kHandleBase) % kHandleStep != 0) return kNone;
    const std::size_t index = (value - kHandleBase) / kHandleStep;
    return index < nodes_.size() ? index : kNone;
}

std::string WindowTree::NameOf(HWND window) const {
    if (window == nullptr) return "null";
    const std::size_t index = IndexOf(window);
    return index == kNone ? Hex(reinterpret_cast<std::uintptr_t>(window)) : nodes_[index].Spec.Name;
}

const std::vector<std::size_t>& WindowTree::SiblingsOf(std::size_t index) const {
    const std::size_t parent = nodes_[index].Parent;
    return parent == kNone ? topLevel_ : nodes_[parent].Children;
}

HWND WindowTree::WindowFromPoint(POINT screen) {
    ++InspectionCalls;
    const std::vector<std::size_t>* level = &topLevel_;
    std::size_t found = 0;  // the desktop when no top-level window holds the point
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (std::size_t i : *level) {
            if (Contains(nodes_[i].Spec.Rect, screen)) {
                found = i;
                level = &nodes_[i].Children;
                deeper = true;
                break;
            }
        }
    }
    return reinterpret_cast<HWND>(kHandleBase + kHandleStep * found);
}

HWND WindowTree::GetDesktopWindow() {
    ++InspectionCalls;
    return Desktop();
}

Text WindowTree::GetClassNameW(HWND window) {
    ++InspectionCalls;
    const std::size_t index = IndexOf(window);
    return index == kNone ? Text() : nodes_[index].Spec.ClassName.substr(0, 259);
}

LONG WindowTree::GetWindowLongW(HWND window, int index) {
    ++InspectionCalls;
    const std::size_t i = IndexOf(window);
    if (i == kNone || index != GWL_STYLE) return 0;
    return static_cast<LONG>(nodes_[i].Spec.Style);
}

BOOL WindowTree::GetWindowRect(HWND window, RECT* rect) {
    ++InspectionCalls;
    const std::size_t index = IndexOf(window);
    if (index == kNone || rect == nullptr) return FALSE;
    *rect = nodes_[index].Spec.Rect;
    return TRUE;
}

HWND WindowTree::GetParent(HWND window) {
    ++InspectionCalls;
    const std::size_t index = IndexOf(window);
    if (index == kNone || nodes_[index].Parent == kNone) return nullptr;
    return reinterpret_cast<HWND>(kHandleBase + kHandleStep * nodes_[index].Parent);
}

HWND WindowTree::GetWindow(HWND window, UINT relation) {
    ++InspectionCalls;
    const std::size_t index = IndexOf(window);
    if (index == kNone || index == 0) return nullptr;
    std::size_t found = kNone;
    if (relation == GW_CHILD) {
        if (!nodes_[index].Children.empty()) found = nodes_[index].Children.front();
    } else {
        const std::vector<std::size_t>& siblings = SiblingsOf(index);
        for (std::size_t k = 0; k < siblings.size(); ++k) {
            if (siblings[k] != index) continue;
            if (relation == GW_HWNDNEXT && k + 1 < siblings.size()) found = siblings[k + 1];
            if (relation == GW_HWNDPREV && k > 0) found = siblings[k - 1];
        }
    }
    return found == kNone ? nullptr : reinterpret_cast<HWND>(kHandleBase + kHandleStep * found);
}

HWND WindowTree::ChildWindowFromPoint(HWND parent, POINT screen) {
    ++InspectionCalls;
    const std::size_t index = IndexOf(parent);
    if (index == kNone || !Contains(nodes_[index].Spec.Rect, screen)) return nullptr;
    for (std::size_t child : nodes_[index].Children)
        if (Contains(nodes_[child].Spec.Rect, screen))
            return reinterpret_cast<HWND>(kHandleBase + kHandleStep * child);
    return parent;
}

void WindowTree::Visit(std::size_t index, const std::function<bool(HWND)>& visit, bool& go) const {
    for (std::size_t child : nodes_[index].Children) {
        if (!go) return;
        go = visit(reinterpret_cast<HWND>(kHandleBase + kHandleStep * child));
        if (go) Visit(child, visit, go);
    }
}

void WindowTree::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) {
    ++InspectionCalls;
    const std::size_t index = IndexOf(parent);
    if (index == kNone || index == 0) {
        ADD_FAILURE() << "EnumChildWindows asked for " << NameOf(parent);
        return;
    }
    bool go = true;
    Visit(index, visit, go);
}

// --- RecordingSender ---

BOOL RecordingSender::GetCursorPos(POINT* point) {
    if (!CursorKnown || point == nullptr) return FALSE;
    *point = Cursor;
    return TRUE;
}

BOOL RecordingSender::SetCursorPos(int x, int y) {
    calls_.push_back("SetCursorPos " + std::to_string(x) + "," + std::to_string(y));
    Cursor = POINT{x, y};
    return TRUE;
}

int RecordingSender::GetSystemMetrics(int index) {
    if (index != SM_SWAPBUTTON) ADD_FAILURE() << "GetSystemMetrics asked for " << index;
    return index == SM_SWAPBUTTON && ButtonsSwapped ? 1 : 0;
}

void RecordingSender::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, std::uintptr_t extra) {
    calls_.push_back("mouse_event " + Hex(flags) + " " + std::to_string(static_cast<LONG>(dx)) + "," +
                     std::to_string(static_cast<LONG>(dy)) + " data=" + std::to_string(data) +
                     " extra=" + std::to_string(extra));
}

std::string RecordingSender::Parameter(LPARAM value) const {
    const std::string name = tree_.NameOf(reinterpret_cast<HWND>(value));
    if (value != 0 && name.rfind("0x", 0) != 0) return name;
    return Hex(static_cast<unsigned long long>(value));
}

BOOL RecordingSender::PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    calls_.push_back("Post " + tree_.NameOf(window) + " " + Message(message) + " " + Hex(wParam) + " " +
                     Parameter(lParam));
    return TRUE;
}

LRESULT RecordingSender::SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT flags, UINT timeout, LRESULT* result) {
    calls_.push_back("Send " + tree_.NameOf(window) + " " + Message(message) + " " + Hex(wParam) + " " +
                     Parameter(lParam) + " flags=" + Hex(flags) + " timeout=" + std::to_string(timeout));
    if (SendsAnswered <= 0) return 0;
    --SendsAnswered;
    if (result != nullptr) *result = Answer;
    return 1;
}

// --- ScriptedBrowser ---

std::string ScriptedBrowser::NameOf(const void* object) const {
    if (object == &document_) return "document";
    if (object == &script_) return "script";
    if (object == &window_) return "window";
    if (object == &library_) return "library";
    return "unknown object";
}

HRESULT ScriptedBrowser::HandOut(HRESULT result, void* token, BrowserObject* out) {
    if (result >= 0) {
        *out = token;
        ++Outstanding;
    } else if (ObjectDespiteFailure) {
        *out = token;
    }
    return result;
}

HRESULT ScriptedBrowser::CoInitialize() {
    calls_.push_back("CoInitialize");
    return InitResult;
}

void ScriptedBrowser::CoUninitialize() { calls_.push_back("CoUninitialize"); }

HMODULE ScriptedBrowser::LoadLibraryW(const Text& name) {
    calls_.push_back("LoadLibraryW " + std::string(name.begin(), name.end()));
    return LibraryLoads ? reinterpret_cast<HMODULE>(&library_) : nullptr;
}

void ScriptedBrowser::FreeLibrary(HMODULE library) { calls_.push_back("FreeLibrary " + NameOf(library)); }

UINT ScriptedBrowser::RegisterWindowMessageW(const Text& name) {
    calls_.push_back("RegisterWindowMessageW " + std::string(name.begin(), name.end()));
    return GetObjectMessage;
}

HRESULT ScriptedBrowser::ObjectFromLresult(HMODULE library, LRESULT result, BrowserObject* document) {
    calls_.push_back("ObjectFromLresult " + NameOf(library) + " " + Hex(static_cast<unsigned long long>(result)));
    return HandOut(DocumentResult, &document_, document);
}

HRESULT ScriptedBrowser::GetScript(BrowserObject document, BrowserObject* script) {
    calls_.push_back("get_Script " + NameOf(document));
    return HandOut(ScriptResult, &script_, script);
}

HRESULT ScriptedBrowser::QueryWindow(BrowserObject script, BrowserObject* window) {
    calls_.push_back("QueryInterface IHTMLWindow2 " + NameOf(script));
    return HandOut(WindowResult, &window_, window);
}

HRESULT ScriptedBrowser::ScrollBy(BrowserObject window, LONG x, LONG y) {
    calls_.push_back("scrollBy " + NameOf(window) + " " + std::to_string(x) + "," + std::to_string(y));
    return ScrollResult;
}

void ScriptedBrowser::Release(BrowserObject object) {
    calls_.push_back("Release " + NameOf(object));
    --Outstanding;
}

// --- comparison ---

::testing::AssertionResult SameCalls(const std::vector<std::string>& expected,
                                     const std::vector<std::string>& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    std::size_t first = 0;
    while (first < expected.size() && first < actual.size() && expected[first] == actual[first]) ++first;
    std::ostringstream dump;
    dump << "calls differ from index " << first << "\nexpected (" << expected.size() << "):\n";
    for (std::size_t i = 0; i < expected.size(); ++i)
        dump << (i == first ? " > " : "   ") << i << "  " << expected[i] << "\n";
    dump << "actual (" << actual.size() << "):\n";
    for (std::size_t i = 0; i < actual.size(); ++i)
        dump << (i == first ? " > " : "   ") << i << "  " << actual[i] << "\n";
    return ::testing::AssertionFailure() << dump.str();
}

}  // namespace scrolltest
