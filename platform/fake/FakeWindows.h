// The fake window manager. Windows have titles, classes, styles,
// rectangles, parents and an owning thread; every thread that creates a
// window or asks for a message gets its own queue. As on Windows:
// - posted messages go to the owning thread's queue and are dispatched in
//   order; a thread without a queue cannot be posted to;
// - a message sent to a window of another thread runs on that thread, when
//   it next asks for a message (or is itself sending), while the sender waits;
// - GetMessageW hands out sent messages first, then posted ones, then
//   WM_QUIT once the queue is otherwise empty, then due timers; with nothing
//   to hand out it waits, and with a timer pending it advances the virtual
//   clock to the timer while no other thread of the fake is running;
// - timers run at their period (at least 10 ms) and one expiry is handed
//   out however many periods have passed;
// - titles are found without regard to case.
// A wait that could never end (the main thread waiting with nothing left to
// come, a send that its window's thread never takes) gives up after a few
// seconds of real time and is kept in the fake's list of hangs.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Windowing.h"
#include "platform/fake/FakeWorld.h"

struct FakeWindow {
    HWND hwnd = nullptr;
    Text className;
    Text title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};
    HWND parent = nullptr;  // the parent of a child window, the owner of a pop-up
    DWORD threadId = 0;
    WindowMessageTarget* target = nullptr;  // null for windows of other programs
    bool alive = true;
    // --- Skinned interface ---
    UINT childId = 0;
    bool updatePending = false;  // has an update region (the whole client area)
    bool erasePending = false;   // ... invalidated with erase
    HRGN region = nullptr;       // the window's shape, owned by the window
    bool hung = false;  // another program's window that takes no messages
};

// A window of another program, as a test lays it out: rectangle in screen
// coordinates; a child when `parent` is set and the style has WS_CHILD.
struct FakeWindowSpec {
    Text className;
    Text title;
    DWORD style = WS_VISIBLE;
    RECT rect{};
    HWND parent = nullptr;
};

// One message posted or sent to a window or posted to a thread, with the
// virtual time it was posted or sent at.
struct FakeMessage {
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint64_t time = 0;
};

// A dialog template resource of the program: what CreateDialogParamW makes.
struct FakeDialogTemplate {
    Text title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int width = 0;
    int height = 0;
};

struct FakeTimer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    std::uint64_t due = 0;
    DWORD threadId = 0;
};

class FakeWindows final : public WindowServices {
public:
    static constexpr UINT kMinimumTimerPeriod = 10;  // USER_TIMER_MINIMUM

    explicit FakeWindows(FakeWorld& world) : world_(world) {}

    HWND CreateWindowExW(const WindowCreation& creation, WindowMessageTarget* target) override;
    HWND CreateDialogParamW(UINT templateId, HWND parent, WindowMessageTarget* target) override;
    BOOL DestroyWindow(HWND hwnd) override;
    LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LONG SetWindowLongW(HWND hwnd, int index, LONG value) override;
    LONG GetWindowLongW(HWND hwnd, int index) override;
    HWND FindWindowW(const Text& className, const Text& title) override;
    BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) override;
    BOOL KillTimer(HWND hwnd, UINT_PTR id) override;
    BOOL GetMessageW(MSG* msg) override;
    LRESULT DispatchMessageW(const MSG* msg) override;
    void PostQuitMessage(int exitCode) override;
    BOOL SystemParametersInfoW(UINT action, UINT param, void* value, UINT winIni) override;
    HANDLE LoadCursorW(HINSTANCE instance, UINT_PTR cursorId) override;
    HANDLE SetCursor(HANDLE cursor) override;
    HWND WindowFromPoint(POINT screen) override;
    HWND ChildWindowFromPoint(HWND parent, POINT screen) override;
    HWND GetDesktopWindow() override;
    Text GetClassNameW(HWND hwnd) override;
    BOOL GetWindowRect(HWND hwnd, RECT* rect) override;
    HWND GetParent(HWND hwnd) override;
    HWND GetWindow(HWND hwnd, UINT relation) override;
    void EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) override;
    LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeout, LRESULT* result) override;
    int GetSystemMetrics(int index) override;
    // Only the thread whose window is in the foreground, or one whose input
    // is attached to that thread's, may bring another window forward.
    HWND GetForegroundWindow() override;
    DWORD GetWindowThreadProcessId(HWND hwnd) override;
    BOOL AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) override;
    BOOL SetForegroundWindow(HWND hwnd) override;
    // --- a wait that keeps answering ---
    void HandleSentMessages() override;
    // --- end ---

    // --- set-up ---
    // A top-level window of another program; what is posted or sent to it is
    // recorded, and a send answers 0.
    HWND AddForeignWindow(const Text& title, const Text& className = u"ForeignClass");
    // Another program's window laid out in full: a top-level one on top of
    // the others, a child below its siblings.
    HWND AddWindow(const FakeWindowSpec& spec);
    // The user brings a window forward (the fake's own rules do not apply).
    void SetForeground(HWND hwnd);
    void SetSystemMetric(int index, int value);
    // A hung window answers no sent message.
    void SetHung(HWND hwnd, bool hung);
    // A dialog template the program holds; CreateDialogParamW fails for others.
    void AddDialogTemplate(UINT templateId, FakeDialogTemplate dialog);
    // The wheel-scroll-characters value; empty makes the query fail.
    void SetWheelScrollChars(std::optional<UINT> chars);

    // --- driving, on the calling thread ---
    // Handles the messages sent to this thread and dispatches the posted
    // ones until none is left; no timer fires and the clock stands still.
    // Returns how many were handled.
    int PumpMessages();
    // Like PumpMessages, and fires the timers due within the next
    // `milliseconds` of virtual time, advancing the clock to each; ends with
    // the clock that far on. Waits first for the fake's running threads.
    int RunFor(std::uint64_t milliseconds);
    // Waits (real time, bounded) until every thread the fake started is
    // waiting for a message with an empty queue. False if that never came.
    bool WaitUntilThreadsIdle();

    // --- inspection ---
    const FakeWindow* Window(HWND hwnd) const;
    std::vector<FakeWindow> Windows() const;
    // Messages posted to a window (null: to threads) or to a thread, in order.
    std::vector<FakeMessage> PostedTo(HWND hwnd) const;
    std::vector<FakeMessage> PostedToThread(DWORD threadId) const;
    std::vector<FakeMessage> SentTo(HWND hwnd) const;
    std::vector<FakeTimer> Timers() const;
    bool QuitPosted() const;
    int QuitCode() const;
    UINT_PTR CurrentCursorId() const;

private:
    struct SentMessage {
        HWND hwnd;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result = 0;
        bool done = false;
    };
    struct ThreadQueue {
        std::deque<FakeMessage> posted;
        std::deque<std::shared_ptr<SentMessage>> sent;
        bool quit = false;
        int quitCode = 0;
    };
    using Lock = std::unique_lock<std::recursive_mutex>;

    FakeWindow* FindLocked(HWND hwnd);
    // Live child windows of `parent` (top-level windows for null), top of
    // the z-order first.
    std::vector<FakeWindow*> ChildrenLocked(HWND parent);
    static bool Contains(const RECT& rect, POINT point);
    HWND DeepestChildLocked(HWND window, POINT screen);
    // Runs one message sent to the calling thread, if any; unlocks around it.
    bool HandleOneSent(Lock& lock, ThreadQueue& queue);
    FakeTimer* NextTimerLocked(DWORD threadId);
    void FireLocked(FakeTimer& timer, MSG* msg);
    LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    FakeWorld& world_;
    std::vector<FakeWindow> windows_;
    std::map<DWORD, ThreadQueue> queues_;
    std::vector<FakeMessage> posted_;  // every posted message, in order
    std::vector<FakeMessage> sent_;    // every sent message, in order
    std::vector<FakeTimer> timers_;
    std::map<UINT, FakeDialogTemplate> dialogTemplates_;
    bool quitPosted_ = false;
    int quitCode_ = 0;
    std::optional<UINT> wheelScrollChars_ = 3u;
    UINT_PTR cursorId_ = 0;
    HWND foreground_ = nullptr;
    std::map<int, int> metrics_ = {{0, 1280}, {1, 1024}};  // SM_CXSCREEN, SM_CYSCREEN
    std::vector<std::pair<DWORD, DWORD>> attachedInput_;
    DWORD nextForeignThreadId_ = 9000;

    // --- foreground changes and the programs that own windows ---
public:
    DWORD GetWindowProcessId(HWND hwnd) override;
    // As out of context on Windows: the event waits in the hooking thread's
    // queue and the callback runs when that thread takes its messages
    // (GetMessageW, PumpMessages, RunFor). Events of the service's own
    // windows are skipped. Each foreground change (SetForeground,
    // SetForegroundWindow) is an EVENT_SYSTEM_FOREGROUND.
    HANDLE SetWinEventHook(DWORD eventMin, DWORD eventMax, WinEventCallback callback) override;
    BOOL UnhookWinEvent(HANDLE hook) override;

    // The process a window of another program belongs to (windows of the
    // service belong to FakeKernel::kOwnProcessId).
    void SetWindowProcess(HWND hwnd, DWORD processId);
    int WinEventHookCount() const;

private:
    struct WinEventHook;
    // Queues the event for every hook that takes it.
    void NotifyWinEventLocked(DWORD event, HWND hwnd);

    std::map<HWND, DWORD> windowProcesses_;
    std::vector<std::shared_ptr<WinEventHook>> winEventHooks_;


    // --- Skinned interface: showing, placing, shaping and painting windows,
    // the mouse capture and paint-only waits. ---
    // Fake windows have no frame: the client area is the window rectangle
    // (kept in screen coordinates; SetWindowPos places a child in its
    // parent's client area). A window is visible when it
    // and every parent up the chain have WS_VISIBLE. Invalidating a window
    // (and its children) marks its whole client area; WM_PAINT is generated
    // for a visible window with an update region only when the thread's
    // queue has no sent or posted message that the caller would take, and
    // it keeps coming until BeginPaint (or the default WM_PAINT processing)
    // validates. Showing a window activates it: it comes to the front where
    // SetForegroundWindow would be allowed.
public:
    BOOL ShowWindow(HWND hwnd, int command) override;
    BOOL IsWindowVisible(HWND hwnd) override;
    BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height,
                      UINT flags) override;
    BOOL SetWindowTextW(HWND hwnd, const Text& text) override;
    BOOL GetClientRect(HWND hwnd, RECT* rect) override;
    BOOL ClientToScreen(HWND hwnd, POINT* point) override;
    BOOL ScreenToClient(HWND hwnd, POINT* point) override;
    int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) override;
    BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) override;
    BOOL UpdateWindow(HWND hwnd) override;
    HWND SetCapture(HWND hwnd) override;
    BOOL ReleaseCapture() override;
    HWND GetCapture() override;
    BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags) override;
    DWORD MsgWaitForMultipleObjects(DWORD milliseconds, DWORD wake) override;

    // --- for the fake's graphics ---
    // Validates a window's update region for BeginPaint: true when it was
    // invalidated with erase.
    bool TakeUpdate(HWND hwnd);
    // True when a window (alive or not) owns the region as its shape.
    bool OwnsRegion(HRGN region) const;
    // The client area's size, or 0 × 0 for no window.
    SIZE ClientSize(HWND hwnd) const;

    // --- inspection ---
    // Either thread attached to the other.
    bool IsInputAttached(DWORD first, DWORD second) const;
    bool HasUpdate(HWND hwnd) const;

private:
    bool IsVisibleLocked(const FakeWindow& window) const;
    bool IsSelfOrDescendantLocked(HWND ancestor, HWND hwnd) const;
    POINT ClientOriginLocked(const FakeWindow& window) const;
    void InvalidateLocked(FakeWindow& window, bool erase);
    // The next window of the thread that needs painting, within `filter`
    // (null: any) and its descendants; null when none.
    HWND NextPaintLocked(DWORD threadId, HWND filter);
    // Gives a paint message for the thread, if one is due.
    bool TakePaintLocked(DWORD threadId, HWND filter, MSG* msg);
    // Destroys owned pop-ups, then the window and its children as Windows
    // does; called by DestroyWindow with the lock not held.
    BOOL DestroyTree(HWND hwnd);
    void ForgetWindowLocked(HWND hwnd);
    bool MatchesFilterLocked(HWND msgHwnd, HWND filter) const;
    // What SetForegroundWindow allows the calling thread.
    bool MayTakeForegroundLocked();

    HWND capture_ = nullptr;
    std::map<DWORD, bool> paintWake_;  // a paint became due since the thread last looked
    std::map<DWORD, bool> postWake_;   // a message was posted since the thread last looked
};
