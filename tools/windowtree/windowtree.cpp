// Window-tree fixture: builds top-level and child windows from a description
// (tools/windowtree/WindowTreeLayout.h), puts the pointer where asked and
// logs every scroll, key and mouse-button message each window receives, one
// flushed line per message, until told to stop. Windows of a system class
// ("ScrollBar" and the like) are the real controls, subclassed for the log;
// every other class is registered here with a window procedure that only
// logs. A "hung" top-level window lives on a thread of its own that takes
// no message at all until the fixture is stopped.
//
//   windowtree.exe --layout FILE [--out FILE] [--stop-event NAME]
//       builds the tree; stops on Ctrl-C or when the named event is set
//   windowtree.exe --signal NAME
//       sets the named event (stops a fixture started with that name)
//
// Lines:
//   window <name> hwnd=0x<hex> rect=<left>,<top>,<right>,<bottom>   one per window, in the
//                                                  description's order, screen coordinates
//   pointer <x> <y>                                where the pointer is once placed
//   ready                                          the tree is built
//   <name> msg=0x0114 wParam=0x1 lParam=0x20a4 sent=1
//                                                  one message; sent=1 when another thread
//                                                  sent it (InSendMessageEx), 0 when it was
//                                                  posted or came from the input queue
//   stopped                                        every message that arrived before the stop
//                                                  has been handled and logged
// Messages logged: WM_HSCROLL, WM_VSCROLL, WM_MOUSEWHEEL, WM_MOUSEHWHEEL, the
// key messages (WM_KEYFIRST to WM_KEYLAST), and the client and non-client
// button messages (down, up, double click of each button).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "tools/common/ToolRun.h"
#include "tools/windowtree/WindowTreeLayout.h"

namespace {

using windowtree::TreeLayout;
using windowtree::TreeWindow;

constexpr wchar_t kEntryProperty[] = L"WindowTree.Entry";

using toolrun::WriteLine;

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// What the log knows of one window; owned by main() for the whole run.
struct Entry {
    std::string Name;
    WNDPROC Original = nullptr;  // the class's own procedure (DefWindowProcW for ours)
};

bool IsLogged(UINT message) {
    const bool scroll = message == WM_HSCROLL || message == WM_VSCROLL || message == WM_MOUSEWHEEL ||
                        message == WM_MOUSEHWHEEL;
    const bool key = message >= WM_KEYFIRST && message <= WM_KEYLAST;
    // Down, up and double click of the left, right, middle and extra buttons
    // (WM_MOUSEWHEEL lies among them), in the client area and outside it.
    const bool button = (message >= WM_LBUTTONDOWN && message <= WM_XBUTTONDBLCLK) ||
                        (message >= WM_NCLBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK);
    return scroll || key || button;
}

std::string Hex(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

// The procedure of every window of the tree: our own classes have it as
// their class procedure, system controls are subclassed with it.
LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* entry = static_cast<const Entry*>(::GetPropW(hwnd, kEntryProperty));
    if (entry == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (IsLogged(message)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%04x", message);
        const bool sent = (::InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
        WriteLine(entry->Name + " msg=" + code + " wParam=" + Hex(static_cast<unsigned long long>(wParam)) +
                  " lParam=" + Hex(static_cast<unsigned long long>(static_cast<ULONG_PTR>(lParam))) +
                  " sent=" + (sent ? "1" : "0"));
    }
    const WNDPROC original = entry->Original;
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kEntryProperty);
        if (original != ::DefWindowProcW) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
}

// Registers every class of the layout that is not a system class, and
// returns their names.
bool RegisterClasses(const TreeLayout& layout, std::set<std::string>& own) {
    const HINSTANCE self = ::GetModuleHandleW(nullptr);
    for (const TreeWindow& window : layout.Windows) {
        if (own.count(window.ClassName) != 0) continue;
        const std::wstring name = Wide(window.ClassName);
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (::GetClassInfoExW(nullptr, name.c_str(), &existing)) continue;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = LoggingProc;
        wc.hInstance = self;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = name.c_str();
        if (!::RegisterClassExW(&wc)) {
            std::fprintf(stderr, "windowtree: cannot register class %s\n", window.ClassName.c_str());
            return false;
        }
        own.insert(window.ClassName);
    }
    return true;
}

struct Tree {
    TreeLayout Layout;
    std::set<std::string> OwnClasses;             // registered here; the others are system controls
    std::vector<HWND> Handles;                    // by layout index
    std::vector<std::unique_ptr<Entry>> Entries;  // by layout index
};

// Creates window `index` on the calling thread; its parent exists already.
bool CreateTreeWindow(Tree& tree, std::size_t index) {
    const TreeWindow& window = tree.Layout.Windows[index];
    HWND parent = window.Parent >= 0 ? tree.Handles[static_cast<std::size_t>(window.Parent)] : nullptr;
    POINT origin{window.Left, window.Top};
    DWORD style = window.Style;
    if (parent != nullptr) {
        ::ScreenToClient(parent, &origin);
        style |= WS_CHILD;
    }
    const std::wstring className = Wide(window.ClassName);
    HWND hwnd = ::CreateWindowExW(0, className.c_str(), Wide(window.Name).c_str(), style, origin.x, origin.y,
                                  window.Right - window.Left, window.Bottom - window.Top, parent,
                                  parent != nullptr ? reinterpret_cast<HMENU>(index + 1) : nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "windowtree: cannot create window %s (error %lu)\n", window.Name.c_str(),
                     ::GetLastError());
        return false;
    }
    Entry& entry = *tree.Entries[index];
    entry.Name = window.Name;
    entry.Original = ::DefWindowProcW;
    ::SetPropW(hwnd, kEntryProperty, &entry);
    if (tree.OwnClasses.count(window.ClassName) == 0) {
        entry.Original =
            reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingProc)));
    }
    tree.Handles[index] = hwnd;
    return true;
}

// Creates the top-level window `top` and every window below it, in the
// description's order.
bool CreateGroup(Tree& tree, std::size_t top) {
    for (std::size_t i = 0; i < tree.Layout.Windows.size(); ++i)
        if (windowtree::TopLevelOf(tree.Layout, i) == top && !CreateTreeWindow(tree, i)) return false;
    return true;
}

// Handles every message waiting for this thread, sent or posted.
void Drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        ::DispatchMessageW(&msg);
    }
}

void DestroyGroup(Tree& tree, std::size_t top) {
    if (tree.Handles[top] != nullptr) ::DestroyWindow(tree.Handles[top]);
}

// A hung group: built on its own thread, which then waits for the stop
// without asking for a single message.
struct HungGroup {
    Tree* Owner = nullptr;
    std::size_t Top = 0;
    HANDLE Built = nullptr;  // set once the windows exist (or failed)
    bool Ok = false;
    HANDLE Thread = nullptr;
};

DWORD WINAPI HungThread(void* parameter) {
    auto* group = static_cast<HungGroup*>(parameter);
    group->Ok = CreateGroup(*group->Owner, group->Top);
    ::SetEvent(group->Built);
    ::WaitForSingleObject(toolrun::StopEvent(), INFINITE);
    Drain();
    DestroyGroup(*group->Owner, group->Top);
    return 0;
}

void RunUntilStopped() {
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &toolrun::StopEvent(), FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait failed
        Drain();
    }
}

bool ReadLayout(const wchar_t* path, TreeLayout& layout) {
    FILE* file = _wfopen(path, L"rb");
    if (file == nullptr) {
        std::fputs("windowtree: cannot open the layout\n", stderr);
        return false;
    }
    constexpr std::size_t kMaxLayoutBytes = 64 * 1024;
    std::string text;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() <= kMaxLayoutBytes)
        text.append(chunk, got);
    std::fclose(file);
    if (text.size() > kMaxLayoutBytes) {
        std::fputs("windowtree: the layout is too long\n", stderr);
        return false;
    }
    std::string error;
    if (!windowtree::ParseLayout(text, layout, error)) {
        std::fprintf(stderr, "windowtree: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

constexpr char kUsage[] = "usage: windowtree --layout FILE [--out FILE] [--stop-event NAME] | --signal NAME\n";

int wmain(int argc, wchar_t** argv) {
    toolrun::Options options;
    const int parsed = toolrun::ParseOptions(argc, argv, kUsage, {L"--layout"}, options);
    if (parsed >= 0) return parsed;
    const auto layout = options.Extra.find(L"--layout");
    if (layout == options.Extra.end()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const wchar_t* layoutPath = layout->second;

    Tree tree;
    if (!ReadLayout(layoutPath, tree.Layout) || !RegisterClasses(tree.Layout, tree.OwnClasses)) return 1;
    const std::size_t count = tree.Layout.Windows.size();
    tree.Handles.assign(count, nullptr);
    for (std::size_t i = 0; i < count; ++i) tree.Entries.push_back(std::make_unique<Entry>());

    if (!toolrun::Start("windowtree", options, L"wb")) return 1;

    // The hung groups first, each on its thread; then the others here.
    std::vector<std::unique_ptr<HungGroup>> hung;
    bool ok = true;
    for (std::size_t i = 0; i < count && ok; ++i) {
        if (!tree.Layout.Windows[i].Hung) continue;
        auto group = std::make_unique<HungGroup>();
        group->Owner = &tree;
        group->Top = i;
        group->Built = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        group->Thread = group->Built ? ::CreateThread(nullptr, 0, HungThread, group.get(), 0, nullptr) : nullptr;
        ok = group->Thread != nullptr && ::WaitForSingleObject(group->Built, 10000) == WAIT_OBJECT_0 && group->Ok;
        hung.push_back(std::move(group));
    }
    for (std::size_t i = 0; i < count && ok; ++i)
        if (tree.Layout.Windows[i].Parent < 0 && !tree.Layout.Windows[i].Hung) ok = CreateGroup(tree, i);

    if (ok) {
        for (std::size_t i = 0; i < count; ++i) {
            RECT rect{};
            ::GetWindowRect(tree.Handles[i], &rect);
            WriteLine("window " + tree.Layout.Windows[i].Name + " hwnd=" +
                      Hex(reinterpret_cast<ULONG_PTR>(tree.Handles[i])) + " rect=" + std::to_string(rect.left) + "," +
                      std::to_string(rect.top) + "," + std::to_string(rect.right) + "," + std::to_string(rect.bottom));
        }
        if (tree.Layout.HasPointer) {
            ::SetCursorPos(tree.Layout.PointerX, tree.Layout.PointerY);
            POINT at{};
            ::GetCursorPos(&at);
            WriteLine("pointer " + std::to_string(at.x) + " " + std::to_string(at.y));
        }
        WriteLine("ready");
        RunUntilStopped();
    }

    // Whatever arrived before the stop is handled and logged, on every thread.
    ::SetEvent(toolrun::StopEvent());
    Drain();
    for (auto& group : hung) {
        if (group->Thread != nullptr) {
            ::WaitForSingleObject(group->Thread, 10000);
            ::CloseHandle(group->Thread);
        }
        if (group->Built != nullptr) ::CloseHandle(group->Built);
    }
    Drain();
    if (ok) WriteLine("stopped");
    for (std::size_t i = 0; i < count; ++i)
        if (tree.Layout.Windows[i].Parent < 0 && !tree.Layout.Windows[i].Hung) DestroyGroup(tree, i);
    toolrun::Finish();
    return ok ? 0 : 1;
}
