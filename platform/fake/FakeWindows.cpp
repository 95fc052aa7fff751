#include "platform/fake/FakeWindows.h"

#include "platform/fake/FakeKernel.h"

#include <algorithm>
#include <chrono>

namespace {

// Titles and classes match without regard to case, as the system's do.
bool EqualTitles(const Text& a, const Text& b) { return EqualsIgnoringCase(a, b); }

std::string MessageText(UINT message, WPARAM wParam, LPARAM lParam) {
    return FakeHex(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam);
}

}  // namespace

FakeWindow* FakeWindows::FindLocked(HWND hwnd) {
    for (auto& window : windows_)
        if (window.hwnd == hwnd && window.alive) return &window;
    return nullptr;
}

LRESULT FakeWindows::Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowMessageTarget* target = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        FakeWindow* window = FindLocked(hwnd);
        if (window == nullptr) return 0;
        target = window->target;
    }
    return target ? target->HandleWindowMessage(hwnd, message, wParam, lParam) : 0;
}

// --- windows ---

HWND FakeWindows::CreateWindowExW(const WindowCreation& c, WindowMessageTarget* target) {
    HWND hwnd;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("CreateWindowExW " + TextToUtf8(c.title));
        FakeWindow window;
        window.hwnd = reinterpret_cast<HWND>(world_.nextHandle++);
        window.className = c.className;
        window.title = c.title;
        window.style = c.style;
        window.exStyle = c.exStyle;
        window.rect = RECT{c.x, c.y, c.x + c.width, c.y + c.height};
        window.parent = c.parent;
        // A child's position is in its parent's client area; the fake keeps
        // every rectangle in screen coordinates.
        if (const FakeWindow* parent = (c.style & WS_CHILD) && c.parent ? FindLocked(c.parent) : nullptr) {
            window.rect.left += parent->rect.left;
            window.rect.right += parent->rect.left;
            window.rect.top += parent->rect.top;
            window.rect.bottom += parent->rect.top;
        }
        window.threadId = world_.CurrentThreadId();
        window.target = target;
        window.childId = c.childId;
        windows_.push_back(window);
        queues_[window.threadId];  // a thread that owns a window has a queue
        hwnd = window.hwnd;
    }
    if (target == nullptr) return hwnd;
    if (!target->HandleWindowMessage(hwnd, WM_NCCREATE, 0, 0)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (target->HandleWindowMessage(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    {
        // A window made visible is painted.
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        if (FakeWindow* window = FindLocked(hwnd); window && IsVisibleLocked(*window))
            InvalidateLocked(*window, true);
    }
    return hwnd;
}

HWND FakeWindows::CreateDialogParamW(UINT templateId, HWND parent, WindowMessageTarget* target) {
    WindowCreation creation;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("CreateDialogParamW " + std::to_string(templateId));
        auto dialog = dialogTemplates_.find(templateId);
        if (dialog == dialogTemplates_.end()) {
            world_.lastError = ERROR_RESOURCE_NAME_NOT_FOUND;
            return nullptr;
        }
        creation.className = u"#32770";  // the dialog manager's class
        creation.title = dialog->second.title;
        creation.style = dialog->second.style;
        creation.exStyle = dialog->second.exStyle;
        creation.width = dialog->second.width;
        creation.height = dialog->second.height;
        creation.parent = parent;
    }
    HWND hwnd = CreateWindowExW(creation, target);
    if (hwnd != nullptr && target != nullptr) target->HandleWindowMessage(hwnd, WM_INITDIALOG, 0, 0);
    return hwnd;
}

void FakeWindows::AddDialogTemplate(UINT templateId, FakeDialogTemplate dialog) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    dialogTemplates_[templateId] = std::move(dialog);
}

BOOL FakeWindows::DestroyWindow(HWND hwnd) {
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("DestroyWindow");
        FakeWindow* window = FindLocked(hwnd);
        if (window == nullptr) {
            world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
            return FALSE;
        }
        if (window->target != nullptr && window->threadId != world_.CurrentThreadId()) {
            // Only the thread that made a window can destroy it.
            world_.lastError = ERROR_ACCESS_DENIED;
            return FALSE;
        }
    }
    return DestroyTree(hwnd);
}

LRESULT FakeWindows::DefWindowProcW(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NCCREATE) return TRUE;
    if (message == WM_CLOSE) DestroyWindow(hwnd);
    if (message == WM_PAINT) TakeUpdate(hwnd);  // painted with nothing: validated
    if (message == WM_ERASEBKGND) return TRUE;
    if (message == WM_SETTEXT && lParam != 0) {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        if (FakeWindow* window = FindLocked(hwnd)) window->title = reinterpret_cast<const char16_t*>(lParam);
        return TRUE;
    }
    return 0;
}

LONG FakeWindows::SetWindowLongW(HWND hwnd, int index, LONG value) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SetWindowLongW " + std::to_string(index) + " " + FakeHex(static_cast<DWORD>(value)));
    FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return 0;
    DWORD* field = index == GWL_EXSTYLE ? &window->exStyle : index == GWL_STYLE ? &window->style : nullptr;
    if (field == nullptr) return 0;
    const LONG previous = static_cast<LONG>(*field);
    *field = static_cast<DWORD>(value);
    return previous;
}

LONG FakeWindows::GetWindowLongW(HWND hwnd, int index) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return 0;
    if (index == GWL_EXSTYLE) return static_cast<LONG>(window->exStyle);
    if (index == GWL_STYLE) return static_cast<LONG>(window->style);
    return 0;
}

HWND FakeWindows::FindWindowW(const Text& className, const Text& title) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("FindWindowW " + TextToUtf8(title));
    for (const auto& window : windows_) {
        // Child windows are never found; owned pop-ups are top-level windows.
        if (!window.alive || (window.style & WS_CHILD) != 0) continue;
        if (!className.empty() && !EqualTitles(className, window.className)) continue;
        if (EqualTitles(window.title, title)) return window.hwnd;
    }
    return nullptr;
}

// --- messages ---

BOOL FakeWindows::PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("PostMessageW " + MessageText(message, wParam, lParam));
    FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return FALSE;
    }
    const FakeMessage posted{hwnd, window->threadId, message, wParam, lParam, world_.now};
    posted_.push_back(posted);
    if (window->target) {
        queues_[window->threadId].posted.push_back(posted);
        postWake_[window->threadId] = true;
        world_.changed.notify_all();
    }
    return TRUE;
}

BOOL FakeWindows::PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("PostThreadMessageW " + MessageText(message, wParam, lParam));
    auto queue = queues_.find(threadId);
    if (queue == queues_.end()) {
        world_.lastError = ERROR_INVALID_THREAD_ID;
        return FALSE;
    }
    const FakeMessage posted{nullptr, threadId, message, wParam, lParam, world_.now};
    posted_.push_back(posted);
    queue->second.posted.push_back(posted);
    postWake_[threadId] = true;
    world_.changed.notify_all();
    return TRUE;
}

LRESULT FakeWindows::SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD self = world_.CurrentThreadId();
    const bool fakeThread = world_.IsFakeThread(self);
    Lock lock(world_.lock);
    world_.Record("SendMessageW " + MessageText(message, wParam, lParam));
    FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return 0;
    }
    sent_.push_back(FakeMessage{hwnd, window->threadId, message, wParam, lParam, world_.now});
    if (window->target == nullptr) return 0;
    if (window->threadId == self) {
        lock.unlock();
        return Deliver(hwnd, message, wParam, lParam);
    }
    auto sent = std::make_shared<SentMessage>(SentMessage{hwnd, message, wParam, lParam});
    queues_[window->threadId].sent.push_back(sent);
    ThreadQueue& own = queues_[self];
    world_.changed.notify_all();
    if (fakeThread) world_.ThreadWaiting();
    const auto deadline = std::chrono::steady_clock::now() + world_.hangAfter;
    LRESULT result = 0;
    for (;;) {
        if (sent->done) {
            result = sent->result;
            break;
        }
        if (world_.stopping) break;
        // A sending thread still takes the messages sent to it.
        if (HandleOneSent(lock, own)) continue;
        if (world_.changed.wait_until(lock, deadline) == std::cv_status::timeout && !sent->done) {
            world_.hangs.push_back("SendMessageW " + FakeHex(message) + ": its window's thread never took it");
            auto& pending = queues_[window->threadId].sent;
            pending.erase(std::remove(pending.begin(), pending.end(), sent), pending.end());
            break;
        }
    }
    if (fakeThread) world_.ThreadResumed();
    return result;
}

bool FakeWindows::HandleOneSent(Lock& lock, ThreadQueue& queue) {
    if (queue.sent.empty()) return false;
    std::shared_ptr<SentMessage> sent = queue.sent.front();
    queue.sent.pop_front();
    lock.unlock();
    const LRESULT result = Deliver(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    lock.lock();
    sent->result = result;
    sent->done = true;
    world_.changed.notify_all();
    return true;
}

// --- timers ---

UINT_PTR FakeWindows::SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SetTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
    FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return 0;
    }
    const UINT period = std::max(milliseconds, kMinimumTimerPeriod);
    const FakeTimer timer{hwnd, id, period, world_.now + period, window->threadId};
    auto existing = std::find_if(timers_.begin(), timers_.end(),
                                 [&](const FakeTimer& t) { return t.hwnd == hwnd && t.id == id; });
    if (existing != timers_.end())
        *existing = timer;
    else
        timers_.push_back(timer);
    world_.changed.notify_all();
    return id;
}

BOOL FakeWindows::KillTimer(HWND hwnd, UINT_PTR id) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("KillTimer " + std::to_string(id));
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [&](const FakeTimer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers_.end()) return FALSE;
    timers_.erase(it);
    return TRUE;
}

FakeTimer* FakeWindows::NextTimerLocked(DWORD threadId) {
    FakeTimer* next = nullptr;
    for (auto& timer : timers_)
        if (timer.threadId == threadId && (next == nullptr || timer.due < next->due)) next = &timer;
    return next;
}

void FakeWindows::FireLocked(FakeTimer& timer, MSG* msg) {
    *msg = MSG{};
    msg->hwnd = timer.hwnd;
    msg->message = WM_TIMER;
    msg->wParam = timer.id;
    msg->time = static_cast<DWORD>(world_.now);
    // One expiry however many periods passed; the next is a period from now.
    timer.due = world_.now + timer.period;
}

// --- the message loop ---

BOOL FakeWindows::GetMessageW(MSG* msg) {
    const DWORD self = world_.CurrentThreadId();
    const bool fakeThread = world_.IsFakeThread(self);
    Lock lock(world_.lock);
    ThreadQueue& queue = queues_[self];  // asking for a message makes the queue
    paintWake_[self] = false;
    postWake_[self] = false;
    bool waiting = false;
    auto resume = [&] {
        if (waiting && fakeThread) world_.ThreadResumed();
        waiting = false;
    };
    const auto deadline = std::chrono::steady_clock::now() + world_.hangAfter;
    for (;;) {
        if (world_.stopping) {
            resume();
            *msg = MSG{};
            msg->message = WM_QUIT;
            return FALSE;
        }
        if (!queue.sent.empty()) {
            resume();
            HandleOneSent(lock, queue);
            continue;
        }
        if (!queue.posted.empty()) {
            resume();
            const FakeMessage next = queue.posted.front();
            queue.posted.pop_front();
            *msg = MSG{};
            msg->hwnd = next.hwnd;
            msg->message = next.message;
            msg->wParam = next.wParam;
            msg->lParam = next.lParam;
            msg->time = static_cast<DWORD>(next.time);
            return next.message == WM_QUIT ? FALSE : TRUE;
        }
        if (queue.quit) {
            resume();
            queue.quit = false;
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(queue.quitCode);
            return FALSE;
        }
        if (TakePaintLocked(self, nullptr, msg)) {
            resume();
            return TRUE;
        }
        if (FakeTimer* timer = NextTimerLocked(self)) {
            const bool othersRunning = world_.OtherRunningThreads(fakeThread && !waiting) > 0;
            if (timer->due <= world_.now || !othersRunning) {
                world_.now = std::max(world_.now, timer->due);
                resume();
                FireLocked(*timer, msg);
                return TRUE;
            }
        }
        if (!waiting && fakeThread) {
            world_.ThreadWaiting();
            waiting = true;
            world_.changed.notify_all();
        }
        if (fakeThread) {
            // The fake's own threads wait for work until the fake is torn down.
            world_.changed.wait(lock);
        } else if (world_.changed.wait_until(lock, deadline) == std::cv_status::timeout) {
            world_.hangs.push_back("GetMessageW on thread " + std::to_string(self) +
                                   ": nothing left that could come");
            resume();
            *msg = MSG{};
            return -1;
        }
    }
}

LRESULT FakeWindows::DispatchMessageW(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return 0;  // thread messages have no window
    return Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void FakeWindows::PostQuitMessage(int exitCode) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("PostQuitMessage " + std::to_string(exitCode));
    quitPosted_ = true;
    quitCode_ = exitCode;
    ThreadQueue& queue = queues_[world_.CurrentThreadId()];
    queue.quit = true;
    queue.quitCode = exitCode;
    world_.changed.notify_all();
}

// --- system parameters and the cursor ---

BOOL FakeWindows::SystemParametersInfoW(UINT action, UINT, void* value, UINT) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SystemParametersInfoW " + FakeHex(action));
    if (action != SPI_GETWHEELSCROLLCHARS || !wheelScrollChars_ || value == nullptr) return FALSE;
    *static_cast<UINT*>(value) = *wheelScrollChars_;
    return TRUE;
}

HANDLE FakeWindows::LoadCursorW(HINSTANCE, UINT_PTR cursorId) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("LoadCursorW " + std::to_string(cursorId));
    // A system cursor's handle is its id.
    return reinterpret_cast<HANDLE>(cursorId);
}

HANDLE FakeWindows::SetCursor(HANDLE cursor) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SetCursor " + std::to_string(reinterpret_cast<UINT_PTR>(cursor)));
    const UINT_PTR previous = cursorId_;
    cursorId_ = reinterpret_cast<UINT_PTR>(cursor);
    return reinterpret_cast<HANDLE>(previous);
}

// --- set-up ---

HWND FakeWindows::AddForeignWindow(const Text& title, const Text& className) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow window;
    window.hwnd = reinterpret_cast<HWND>(world_.nextHandle++);
    window.title = title;
    window.className = className;
    window.threadId = nextForeignThreadId_++;  // another program's thread
    windows_.push_back(window);
    return window.hwnd;
}

HWND FakeWindows::AddWindow(const FakeWindowSpec& spec) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow window;
    window.hwnd = reinterpret_cast<HWND>(world_.nextHandle++);
    window.className = spec.className;
    window.title = spec.title;
    window.style = spec.style;
    window.rect = spec.rect;
    window.parent = spec.parent;
    const FakeWindow* parent = spec.parent ? FindLocked(spec.parent) : nullptr;
    window.threadId = parent ? parent->threadId : nextForeignThreadId_++;
    windows_.push_back(window);
    return window.hwnd;
}

void FakeWindows::SetForeground(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    foreground_ = hwnd;
    NotifyWinEventLocked(EVENT_SYSTEM_FOREGROUND, hwnd);
}

void FakeWindows::SetSystemMetric(int index, int value) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    metrics_[index] = value;
}

void FakeWindows::SetHung(HWND hwnd, bool hung) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    if (FakeWindow* window = FindLocked(hwnd)) window->hung = hung;
}

void FakeWindows::SetWheelScrollChars(std::optional<UINT> chars) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    wheelScrollChars_ = chars;
}

// --- driving ---

// --- a wait that keeps answering ---
void FakeWindows::HandleSentMessages() {
    Lock lock(world_.lock);
    ThreadQueue& queue = queues_[world_.CurrentThreadId()];
    while (HandleOneSent(lock, queue)) {
    }
}
// --- end of the wait that keeps answering ---

int FakeWindows::PumpMessages() {
    const DWORD self = world_.CurrentThreadId();
    int handled = 0;
    int paintsInARow = 0;
    constexpr int kPaintsInARowLimit = 1000;
    Lock lock(world_.lock);
    ThreadQueue& queue = queues_[self];
    for (;;) {
        if (HandleOneSent(lock, queue)) {
            ++handled;
            continue;
        }
        if (queue.posted.empty()) {
            // Then the windows that need painting, each until it is validated.
            MSG paint{};
            if (!TakePaintLocked(self, nullptr, &paint)) return handled;
            if (++paintsInARow > kPaintsInARowLimit) {
                world_.hangs.push_back("WM_PAINT that its window never validates");
                return handled;
            }
            lock.unlock();
            Deliver(paint.hwnd, WM_PAINT, 0, 0);
            ++handled;
            lock.lock();
            continue;
        }
        paintsInARow = 0;
        const FakeMessage next = queue.posted.front();
        queue.posted.pop_front();
        lock.unlock();
        if (next.hwnd != nullptr) Deliver(next.hwnd, next.message, next.wParam, next.lParam);
        ++handled;
        lock.lock();
    }
}

int FakeWindows::RunFor(std::uint64_t milliseconds) {
    const DWORD self = world_.CurrentThreadId();
    std::uint64_t until;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        until = world_.now + milliseconds;
    }
    int handled = 0;
    for (;;) {
        WaitUntilThreadsIdle();
        handled += PumpMessages();
        Lock lock(world_.lock);
        FakeTimer* timer = NextTimerLocked(self);
        if (timer == nullptr || timer->due > until) {
            world_.now = std::max(world_.now, until);
            return handled;
        }
        world_.now = std::max(world_.now, timer->due);
        MSG msg{};
        FireLocked(*timer, &msg);
        lock.unlock();
        DispatchMessageW(&msg);
        ++handled;
    }
}

bool FakeWindows::WaitUntilThreadsIdle() {
    Lock lock(world_.lock);
    const auto deadline = std::chrono::steady_clock::now() + world_.hangAfter;
    auto idle = [&] {
        if (world_.OtherRunningThreads(false) > 0) return false;
        for (const auto& [id, queue] : queues_)
            if (world_.IsFakeThread(id) && (!queue.posted.empty() || !queue.sent.empty())) return false;
        return true;
    };
    while (!idle()) {
        if (world_.changed.wait_until(lock, deadline) == std::cv_status::timeout) return idle();
    }
    return true;
}

// --- inspection ---

const FakeWindow* FakeWindows::Window(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    for (const auto& window : windows_)
        if (window.hwnd == hwnd) return &window;
    return nullptr;
}

std::vector<FakeWindow> FakeWindows::Windows() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return windows_;
}

std::vector<FakeMessage> FakeWindows::PostedTo(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    std::vector<FakeMessage> result;
    for (const auto& posted : posted_)
        if (posted.hwnd == hwnd && hwnd != nullptr) result.push_back(posted);
    return result;
}

std::vector<FakeMessage> FakeWindows::PostedToThread(DWORD threadId) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    std::vector<FakeMessage> result;
    for (const auto& posted : posted_)
        if (posted.hwnd == nullptr && posted.threadId == threadId) result.push_back(posted);
    return result;
}

std::vector<FakeMessage> FakeWindows::SentTo(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    std::vector<FakeMessage> result;
    for (const auto& sent : sent_)
        if (sent.hwnd == hwnd) result.push_back(sent);
    return result;
}

std::vector<FakeTimer> FakeWindows::Timers() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return timers_;
}

bool FakeWindows::QuitPosted() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return quitPosted_;
}

int FakeWindows::QuitCode() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return quitCode_;
}

UINT_PTR FakeWindows::CurrentCursorId() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return cursorId_;
}

// --- any program's windows ---

namespace {
const HWND kDesktopWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010));
constexpr int kMaxDepth = 64;
}  // namespace

bool FakeWindows::Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

std::vector<FakeWindow*> FakeWindows::ChildrenLocked(HWND parent) {
    // As on Windows: a new top-level window goes on top of the others, a new
    // child window below its siblings.
    std::vector<FakeWindow*> children;
    for (auto& window : windows_) {
        if (!window.alive) continue;
        const bool isChild = (window.style & WS_CHILD) != 0;
        if (parent == nullptr ? !isChild : (isChild && window.parent == parent)) children.push_back(&window);
    }
    if (parent == nullptr) std::reverse(children.begin(), children.end());
    return children;
}

HWND FakeWindows::DeepestChildLocked(HWND window, POINT screen) {
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        HWND next = nullptr;
        for (FakeWindow* child : ChildrenLocked(window))
            if ((child->style & WS_VISIBLE) && Contains(child->rect, screen)) {
                next = child->hwnd;
                break;
            }
        if (next == nullptr) return window;
        window = next;
    }
    return window;
}

HWND FakeWindows::WindowFromPoint(POINT screen) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("WindowFromPoint " + std::to_string(screen.x) + "," + std::to_string(screen.y));
    for (FakeWindow* top : ChildrenLocked(nullptr))
        if ((top->style & WS_VISIBLE) && Contains(top->rect, screen)) return DeepestChildLocked(top->hwnd, screen);
    return kDesktopWindow;
}

HWND FakeWindows::ChildWindowFromPoint(HWND parent, POINT screen) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(parent);
    if (window == nullptr || !Contains(window->rect, screen)) return nullptr;
    for (FakeWindow* child : ChildrenLocked(parent))
        if (Contains(child->rect, screen)) return child->hwnd;
    return parent;
}

HWND FakeWindows::GetDesktopWindow() { return kDesktopWindow; }

Text FakeWindows::GetClassNameW(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    if (hwnd == kDesktopWindow) return u"#32769";
    const FakeWindow* window = FindLocked(hwnd);
    return window ? window->className.substr(0, 259) : Text();
}

BOOL FakeWindows::GetWindowRect(HWND hwnd, RECT* rect) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = window->rect;
    return TRUE;
}

HWND FakeWindows::GetParent(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return nullptr;
    const bool child = (window->style & WS_CHILD) != 0;
    const bool popup = (window->style & WS_POPUP) != 0;
    return child || popup ? window->parent : nullptr;
}

HWND FakeWindows::GetWindow(HWND hwnd, UINT relation) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return nullptr;
    if (relation == GW_CHILD) {
        const auto children = ChildrenLocked(hwnd);
        return children.empty() ? nullptr : children.front()->hwnd;
    }
    const auto siblings = ChildrenLocked((window->style & WS_CHILD) ? window->parent : nullptr);
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i]->hwnd != hwnd) continue;
        if (relation == GW_HWNDNEXT) return i + 1 < siblings.size() ? siblings[i + 1]->hwnd : nullptr;
        if (relation == GW_HWNDPREV) return i > 0 ? siblings[i - 1]->hwnd : nullptr;
    }
    return nullptr;
}

void FakeWindows::EnumChildWindows(HWND parent, const std::function<bool(HWND)>& visit) {
    if (parent == nullptr) return;
    // Collected first: the visitor may call back into the fake.
    std::vector<HWND> order;
    std::function<void(HWND, int)> collect = [&](HWND of, int depth) {
        if (depth > kMaxDepth) return;
        for (FakeWindow* child : ChildrenLocked(of)) {
            order.push_back(child->hwnd);
            collect(child->hwnd, depth + 1);
        }
    };
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        collect(parent, 0);
    }
    for (HWND child : order)
        if (!visit(child)) return;
}

LRESULT FakeWindows::SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT,
                                         UINT timeout, LRESULT* result) {
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        FakeWindow* window = FindLocked(hwnd);
        if (window == nullptr) {
            world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
            return 0;
        }
        if (window->target == nullptr) {
            world_.Record("SendMessageTimeoutW " + MessageText(message, wParam, lParam));
            sent_.push_back(FakeMessage{hwnd, window->threadId, message, wParam, lParam, world_.now});
            if (window->hung) {
                // The sender waits the whole time-out for nothing.
                world_.now += timeout;
                world_.lastError = ERROR_TIMEOUT;
                return 0;
            }
            if (result) *result = 0;
            return 1;
        }
    }
    const LRESULT answer = SendMessageW(hwnd, message, wParam, lParam);
    if (result) *result = answer;
    return 1;
}

int FakeWindows::GetSystemMetrics(int index) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

// --- the foreground ---

HWND FakeWindows::GetForegroundWindow() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return foreground_;
}

DWORD FakeWindows::GetWindowThreadProcessId(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    return window ? window->threadId : 0;
}

BOOL FakeWindows::AttachThreadInput(DWORD attachThread, DWORD attachToThread, BOOL attach) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("AttachThreadInput " + std::to_string(attachThread) + " " + std::to_string(attachToThread) +
                  " " + std::to_string(attach));
    if (attachThread == 0 || attachToThread == 0 || attachThread == attachToThread) return FALSE;
    const std::pair<DWORD, DWORD> pair{attachThread, attachToThread};
    auto it = std::find(attachedInput_.begin(), attachedInput_.end(), pair);
    if (attach && it == attachedInput_.end()) attachedInput_.push_back(pair);
    if (!attach) {
        if (it == attachedInput_.end()) return FALSE;
        attachedInput_.erase(it);
    }
    return TRUE;
}

BOOL FakeWindows::SetForegroundWindow(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SetForegroundWindow");
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return FALSE;
    const DWORD self = world_.CurrentThreadId();
    const FakeWindow* current = FindLocked(foreground_);
    const DWORD owner = current ? current->threadId : 0;
    const bool attached =
        std::find(attachedInput_.begin(), attachedInput_.end(), std::make_pair(self, owner)) != attachedInput_.end() ||
        std::find(attachedInput_.begin(), attachedInput_.end(), std::make_pair(owner, self)) != attachedInput_.end();
    if (current != nullptr && owner != self && !attached) return FALSE;
    foreground_ = hwnd;
    NotifyWinEventLocked(EVENT_SYSTEM_FOREGROUND, hwnd);
    return TRUE;
}

// --- foreground changes and the programs that own windows ---

namespace {
// The private message that carries a queued event to its hook.
constexpr UINT kWinEventMessage = 0x7FFE;
}  // namespace

// A hook's callback, reached through a hidden window of the hooking thread
// so that the event waits in that thread's queue like any message.
struct FakeWindows::WinEventHook final : WindowMessageTarget {
    DWORD eventMin = 0;
    DWORD eventMax = 0;
    WinEventCallback callback;
    HWND window = nullptr;
    DWORD threadId = 0;
    LRESULT HandleWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kWinEventMessage && callback) callback(static_cast<DWORD>(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    }
};

DWORD FakeWindows::GetWindowProcessId(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return 0;
    if (window->target != nullptr) return FakeKernel::kOwnProcessId;
    auto it = windowProcesses_.find(hwnd);
    return it == windowProcesses_.end() ? 0 : it->second;
}

void FakeWindows::SetWindowProcess(HWND hwnd, DWORD processId) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    windowProcesses_[hwnd] = processId;
}

HANDLE FakeWindows::SetWinEventHook(DWORD eventMin, DWORD eventMax, WinEventCallback callback) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("SetWinEventHook " + FakeHex(eventMin) + " " + FakeHex(eventMax));
    auto hook = std::make_shared<WinEventHook>();
    hook->eventMin = eventMin;
    hook->eventMax = eventMax;
    hook->callback = std::move(callback);
    hook->threadId = world_.CurrentThreadId();
    // Hidden from every lookup: a child window without a parent.
    FakeWindow window;
    window.hwnd = reinterpret_cast<HWND>(world_.nextHandle++);
    window.className = u"FakeWinEventTarget";
    window.style = WS_CHILD;
    window.threadId = hook->threadId;
    window.target = hook.get();
    windows_.push_back(window);
    queues_[hook->threadId];
    hook->window = window.hwnd;
    winEventHooks_.push_back(hook);
    return reinterpret_cast<HANDLE>(hook->window);
}

BOOL FakeWindows::UnhookWinEvent(HANDLE hook) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("UnhookWinEvent");
    const HWND window = reinterpret_cast<HWND>(hook);
    auto it = std::find_if(winEventHooks_.begin(), winEventHooks_.end(),
                           [window](const auto& h) { return h->window == window; });
    if (it == winEventHooks_.end()) return FALSE;
    if (FakeWindow* target = FindLocked(window)) target->alive = false;
    winEventHooks_.erase(it);
    return TRUE;
}

int FakeWindows::WinEventHookCount() const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return static_cast<int>(winEventHooks_.size());
}

void FakeWindows::NotifyWinEventLocked(DWORD event, HWND hwnd) {
    const FakeWindow* window = FindLocked(hwnd);
    if (window != nullptr && window->target != nullptr) return;  // the service's own process
    for (const auto& hook : winEventHooks_) {
        if (event < hook->eventMin || event > hook->eventMax) continue;
        // Delivered like a message sent from another thread (nobody waits for it).
        auto sent = std::make_shared<SentMessage>();
        sent->hwnd = hook->window;
        sent->message = kWinEventMessage;
        sent->wParam = event;
        sent->lParam = reinterpret_cast<LPARAM>(hwnd);
        queues_[hook->threadId].sent.push_back(sent);
    }
    world_.changed.notify_all();
}

// --- Skinned interface: showing, placing, shaping and painting windows, the
// mouse capture and paint-only waits. ---

namespace {

constexpr int kMaxParentWalk = 64;

// How a window appears in the record: its title, or its handle.
std::string WindowName(const FakeWindow* window, HWND hwnd) {
    if (window != nullptr && !window->title.empty()) return TextToUtf8(window->title);
    return FakeHex(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::string InsertAfterName(HWND insertAfter) {
    if (insertAfter == HWND_TOPMOST) return "topmost";
    if (insertAfter == HWND_NOTOPMOST) return "notopmost";
    if (insertAfter == HWND_TOP) return "top";
    if (insertAfter == HWND_BOTTOM) return "bottom";
    return FakeHex(reinterpret_cast<std::uintptr_t>(insertAfter));
}

}  // namespace

bool FakeWindows::IsVisibleLocked(const FakeWindow& window) const {
    const FakeWindow* current = &window;
    for (int depth = 0; depth < kMaxParentWalk; ++depth) {
        if ((current->style & WS_VISIBLE) == 0) return false;
        if ((current->style & WS_CHILD) == 0) return true;
        current = const_cast<FakeWindows*>(this)->FindLocked(current->parent);
        if (current == nullptr) return false;
    }
    return false;
}

bool FakeWindows::IsSelfOrDescendantLocked(HWND ancestor, HWND hwnd) const {
    for (int depth = 0; depth < kMaxParentWalk && hwnd != nullptr; ++depth) {
        if (hwnd == ancestor) return true;
        const FakeWindow* window = const_cast<FakeWindows*>(this)->FindLocked(hwnd);
        if (window == nullptr || (window->style & WS_CHILD) == 0) return false;
        hwnd = window->parent;
    }
    return false;
}

bool FakeWindows::MatchesFilterLocked(HWND msgHwnd, HWND filter) const {
    return filter == nullptr || (msgHwnd != nullptr && IsSelfOrDescendantLocked(filter, msgHwnd));
}

POINT FakeWindows::ClientOriginLocked(const FakeWindow& window) const {
    return POINT{window.rect.left, window.rect.top};  // rectangles are kept in screen coordinates
}

void FakeWindows::InvalidateLocked(FakeWindow& window, bool erase) {
    if (!IsVisibleLocked(window)) return;  // hidden windows are painted when shown
    window.updatePending = true;
    window.erasePending = window.erasePending || erase;
    paintWake_[window.threadId] = true;
    world_.changed.notify_all();
    if (window.style & WS_CLIPCHILDREN) return;
    for (auto& child : windows_)
        if (child.alive && (child.style & WS_CHILD) && child.parent == window.hwnd) InvalidateLocked(child, erase);
}

HWND FakeWindows::NextPaintLocked(DWORD threadId, HWND filter) {
    for (const auto& window : windows_) {
        if (!window.alive || window.target == nullptr || window.threadId != threadId) continue;
        if (!window.updatePending || !IsVisibleLocked(window)) continue;
        if (MatchesFilterLocked(window.hwnd, filter)) return window.hwnd;
    }
    return nullptr;
}

bool FakeWindows::TakePaintLocked(DWORD threadId, HWND filter, MSG* msg) {
    HWND hwnd = NextPaintLocked(threadId, filter);
    if (hwnd == nullptr) return false;
    *msg = MSG{};
    msg->hwnd = hwnd;
    msg->message = WM_PAINT;
    msg->time = static_cast<DWORD>(world_.now);
    return true;
}

BOOL FakeWindows::DestroyTree(HWND hwnd) {
    // Owned pop-ups go first, then the window: WM_DESTROY to it and then to
    // its children, WM_NCDESTROY to the children and last to it.
    std::vector<HWND> owned;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        for (const auto& window : windows_)
            if (window.alive && window.parent == hwnd && (window.style & WS_CHILD) == 0) owned.push_back(window.hwnd);
    }
    for (HWND popup : owned) DestroyTree(popup);

    std::vector<std::pair<HWND, WindowMessageTarget*>> tree;  // the window, then its children, depth first
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        if (FindLocked(hwnd) == nullptr) return FALSE;
        std::vector<HWND> pending{hwnd};
        while (!pending.empty()) {
            HWND next = pending.back();
            pending.pop_back();
            FakeWindow* window = FindLocked(next);
            if (window == nullptr) continue;
            tree.emplace_back(next, window->target);
            for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
                if (it->alive && (it->style & WS_CHILD) && it->parent == next) pending.push_back(it->hwnd);
        }
        for (const auto& [window, target] : tree) {
            FindLocked(window)->alive = false;
            ForgetWindowLocked(window);
            timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                         [window = window](const FakeTimer& t) { return t.hwnd == window; }),
                          timers_.end());
        }
    }
    for (const auto& [window, target] : tree)
        if (target) target->HandleWindowMessage(window, WM_DESTROY, 0, 0);
    for (auto it = tree.rbegin(); it != tree.rend(); ++it)
        if (it->second) it->second->HandleWindowMessage(it->first, WM_NCDESTROY, 0, 0);
    return TRUE;
}

void FakeWindows::ForgetWindowLocked(HWND hwnd) {
    if (capture_ == hwnd) capture_ = nullptr;
    if (foreground_ == hwnd) foreground_ = nullptr;
    for (auto& window : windows_)
        if (window.hwnd == hwnd) window.updatePending = window.erasePending = false;
}

BOOL FakeWindows::ShowWindow(HWND hwnd, int command) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(hwnd);
    world_.Record("ShowWindow " + WindowName(window, hwnd) + " " + std::to_string(command));
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return FALSE;
    }
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        window->style &= ~WS_VISIBLE;
        window->updatePending = window->erasePending = false;
        return wasVisible ? TRUE : FALSE;
    }
    window->style |= WS_VISIBLE;
    if (!wasVisible) InvalidateLocked(*window, true);
    // Showing activates the window: it comes to the front only where the
    // thread may take the foreground.
    constexpr int kShowNoActivate = 4;
    constexpr int kShowNA = 8;
    if (command != kShowNoActivate && command != kShowNA && (window->style & WS_CHILD) == 0 &&
        MayTakeForegroundLocked())
        foreground_ = hwnd;
    return wasVisible ? TRUE : FALSE;
}

BOOL FakeWindows::IsWindowVisible(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    return window != nullptr && IsVisibleLocked(*window) ? TRUE : FALSE;
}

BOOL FakeWindows::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height,
                               UINT flags) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(hwnd);
    world_.Record("SetWindowPos " + WindowName(window, hwnd) + " " + InsertAfterName(insertAfter) + " " +
                  std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
                  std::to_string(height) + " " + FakeHex(flags));
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return FALSE;
    }
    const LONG oldWidth = window->rect.right - window->rect.left;
    const LONG oldHeight = window->rect.bottom - window->rect.top;
    LONG newWidth = oldWidth;
    LONG newHeight = oldHeight;
    if ((flags & SWP_NOSIZE) == 0) {
        newWidth = std::max(width, 0);
        newHeight = std::max(height, 0);
    }
    if ((flags & SWP_NOMOVE) == 0) {
        // A child's position is in its parent's client area.
        const FakeWindow* parent = (window->style & WS_CHILD) ? FindLocked(window->parent) : nullptr;
        window->rect.left = x + (parent ? parent->rect.left : 0);
        window->rect.top = y + (parent ? parent->rect.top : 0);
    }
    window->rect.right = window->rect.left + newWidth;
    window->rect.bottom = window->rect.top + newHeight;
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
        if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    }
    if (flags & SWP_HIDEWINDOW) {
        window->style &= ~WS_VISIBLE;
        window->updatePending = window->erasePending = false;
    }
    if ((flags & SWP_SHOWWINDOW) && (window->style & WS_VISIBLE) == 0) {
        window->style |= WS_VISIBLE;
        InvalidateLocked(*window, true);
    } else if (newWidth != oldWidth || newHeight != oldHeight) {
        InvalidateLocked(*window, true);
    }
    return TRUE;
}

BOOL FakeWindows::SetWindowTextW(HWND hwnd, const Text& text) {
    bool ours = false;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        FakeWindow* window = FindLocked(hwnd);
        world_.Record("SetWindowTextW " + TextToUtf8(text));
        if (window == nullptr) {
            world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
            return FALSE;
        }
        ours = window->target != nullptr;
        if (!ours) window->title = text;
    }
    // A window of the program learns its text through WM_SETTEXT.
    if (ours) Deliver(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return TRUE;
}

BOOL FakeWindows::GetClientRect(HWND hwnd, RECT* rect) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL FakeWindows::ClientToScreen(HWND hwnd, POINT* point) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr || point == nullptr) return FALSE;
    const POINT origin = ClientOriginLocked(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL FakeWindows::ScreenToClient(HWND hwnd, POINT* point) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr || point == nullptr) return FALSE;
    const POINT origin = ClientOriginLocked(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int FakeWindows::SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(hwnd);
    world_.Record("SetWindowRgn " + WindowName(window, hwnd) + (region ? " region" : " none") +
                  (redraw ? " redraw" : ""));
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return 0;
    }
    window->region = region;
    if (redraw) InvalidateLocked(*window, true);
    return 1;
}

BOOL FakeWindows::InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(hwnd);
    world_.Record("InvalidateRect " + WindowName(window, hwnd) + (erase ? " erase" : ""));
    if (window == nullptr) {
        world_.lastError = ERROR_INVALID_WINDOW_HANDLE;
        return FALSE;
    }
    InvalidateLocked(*window, erase != FALSE);
    return TRUE;
}

BOOL FakeWindows::UpdateWindow(HWND hwnd) {
    std::vector<HWND> due;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        FakeWindow* window = FindLocked(hwnd);
        world_.Record("UpdateWindow " + WindowName(window, hwnd));
        if (window == nullptr) return FALSE;
        for (const auto& candidate : windows_)
            if (candidate.alive && candidate.updatePending && IsVisibleLocked(candidate) &&
                IsSelfOrDescendantLocked(hwnd, candidate.hwnd))
                due.push_back(candidate.hwnd);
    }
    // Sent at once, not queued.
    for (HWND window : due) Deliver(window, WM_PAINT, 0, 0);
    return TRUE;
}

HWND FakeWindows::SetCapture(HWND hwnd) {
    HWND previous;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("SetCapture " + WindowName(FindLocked(hwnd), hwnd));
        previous = capture_;
        capture_ = hwnd;
    }
    if (previous != nullptr && previous != hwnd)
        Deliver(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL FakeWindows::ReleaseCapture() {
    HWND previous;
    {
        std::lock_guard<std::recursive_mutex> guard(world_.lock);
        world_.Record("ReleaseCapture");
        previous = capture_;
        capture_ = nullptr;
    }
    // The window that loses the capture hears of it.
    if (previous != nullptr) Deliver(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND FakeWindows::GetCapture() {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return capture_;
}

BOOL FakeWindows::PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags) {
    const DWORD self = world_.CurrentThreadId();
    Lock lock(world_.lock);
    world_.Record("PeekMessageW " + FakeHex(first) + " " + FakeHex(last) + " " + FakeHex(flags));
    UINT kinds = flags >> 16;
    if (kinds == 0) kinds = QS_ALLINPUT | QS_SENDMESSAGE;
    const bool remove = (flags & PM_REMOVE) != 0;
    auto inRange = [&](UINT message) {
        return (first == 0 && last == 0) || (message >= first && message <= last);
    };
    ThreadQueue& queue = queues_[self];
    paintWake_[self] = false;
    postWake_[self] = false;
    // As under Wine: any peek runs the messages other threads sent (and the
    // out-of-context event hooks' calls), whatever kinds it asks for.
    while (HandleOneSent(lock, queue)) {
    }
    if (kinds & QS_POSTMESSAGE) {
        for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
            if (!inRange(it->message) || !MatchesFilterLocked(it->hwnd, hwnd)) continue;
            *msg = MSG{};
            msg->hwnd = it->hwnd;
            msg->message = it->message;
            msg->wParam = it->wParam;
            msg->lParam = it->lParam;
            msg->time = static_cast<DWORD>(it->time);
            if (remove) queue.posted.erase(it);
            return TRUE;
        }
        if (queue.quit && hwnd == nullptr && inRange(WM_QUIT)) {
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(queue.quitCode);
            if (remove) queue.quit = false;
            return TRUE;
        }
    }
    if ((kinds & QS_PAINT) && inRange(WM_PAINT) && TakePaintLocked(self, hwnd, msg)) return TRUE;
    if ((kinds & QS_TIMER) && inRange(WM_TIMER)) {
        FakeTimer* timer = NextTimerLocked(self);
        if (timer != nullptr && timer->due <= world_.now && MatchesFilterLocked(timer->hwnd, hwnd)) {
            if (remove) {
                FireLocked(*timer, msg);
            } else {
                *msg = MSG{};
                msg->hwnd = timer->hwnd;
                msg->message = WM_TIMER;
                msg->wParam = timer->id;
            }
            return TRUE;
        }
    }
    return FALSE;
}

DWORD FakeWindows::MsgWaitForMultipleObjects(DWORD milliseconds, DWORD wake) {
    const DWORD self = world_.CurrentThreadId();
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    world_.Record("MsgWaitForMultipleObjects " + std::to_string(milliseconds) + " " + FakeHex(wake));
    // Only what came since the thread last looked at its queue wakes it.
    const ThreadQueue& queue = queues_[self];
    if ((wake & QS_SENDMESSAGE) && !queue.sent.empty()) return WAIT_OBJECT_0;
    if ((wake & QS_POSTMESSAGE) && postWake_[self]) return WAIT_OBJECT_0;
    if ((wake & QS_PAINT) && paintWake_[self]) return WAIT_OBJECT_0;
    world_.now += milliseconds;
    world_.changed.notify_all();
    return WAIT_TIMEOUT;
}

bool FakeWindows::TakeUpdate(HWND hwnd) {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    FakeWindow* window = FindLocked(hwnd);
    if (window == nullptr) return false;
    const bool erase = window->updatePending && window->erasePending;
    window->updatePending = false;
    window->erasePending = false;
    return erase;
}

bool FakeWindows::OwnsRegion(HRGN region) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    if (region == nullptr) return false;
    for (const auto& window : windows_)
        if (window.region == region) return true;
    return false;
}

SIZE FakeWindows::ClientSize(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = const_cast<FakeWindows*>(this)->FindLocked(hwnd);
    if (window == nullptr) return SIZE{0, 0};
    return SIZE{window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
}

bool FakeWindows::IsInputAttached(DWORD first, DWORD second) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    return std::find(attachedInput_.begin(), attachedInput_.end(), std::make_pair(first, second)) !=
               attachedInput_.end() ||
           std::find(attachedInput_.begin(), attachedInput_.end(), std::make_pair(second, first)) !=
               attachedInput_.end();
}

bool FakeWindows::MayTakeForegroundLocked() {
    const DWORD self = world_.CurrentThreadId();
    const FakeWindow* current = FindLocked(foreground_);
    return current == nullptr || current->threadId == self || IsInputAttached(self, current->threadId);
}

bool FakeWindows::HasUpdate(HWND hwnd) const {
    std::lock_guard<std::recursive_mutex> guard(world_.lock);
    const FakeWindow* window = const_cast<FakeWindows*>(this)->FindLocked(hwnd);
    return window != nullptr && window->updatePending;
}
