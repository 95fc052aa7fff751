#include "actions/HeldInput.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <utility>

#include "actions/InputConventions.h"
#include "config/SettingsRecords.h"
#include "platform/Platform.h"

namespace {

// The mouse buttons a press can hold down, and the event that lets each go.
struct MouseButtonFlags {
    DWORD Down;
    DWORD Up;
};
constexpr MouseButtonFlags kHeldMouseButtons[] = {
    {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
    {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
    {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP},
};

struct HeldRecord {
    std::mutex Lock;
    std::set<int> Keys;
    // (up flags, data) of each mouse button down; data tells the X buttons apart.
    std::set<std::pair<DWORD, DWORD>> MouseButtons;
    std::optional<NotedPress> Presses[kButtonCount];
    std::set<UINT_PTR> RepeatTimers;
    // Repeat requests posted to the worker and not yet served, per kind and button.
    int MacroRequests[2][kButtonCount] = {};
};

HeldRecord& Held() {
    static HeldRecord record;
    return record;
}

std::atomic<int> g_macrosPlaying{0};
std::mutex g_playLock;
std::condition_variable g_playEnded;
// Stops so far; a request ends when the count differs from its start's.
std::atomic<unsigned> g_macroStops{0};
std::atomic<bool> g_macrosBarred{false};
thread_local int t_activityDepth = 0;
thread_local unsigned t_stopsAtStart = 0;
// The thread's priority before its outermost macro began; unset when the
// raise failed and there is nothing to give back.
thread_local std::optional<int> t_priorityBefore;
thread_local bool t_priorityAsked = false;  // the raise was tried in this request

// Above every normal thread of the desktop's programs, below the time-critical
// ones: a macro that plays while held may play for long, and must not take
// the processor from the system's own input threads.
constexpr int kMacroThreadPriority = THREAD_PRIORITY_HIGHEST;

}  // namespace

void NoteKeyEvent(int virtualKey, bool keyUp) {
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    if (keyUp) held.Keys.erase(virtualKey);
    else held.Keys.insert(virtualKey);
}

void NoteMouseEvent(DWORD flags, DWORD data) {
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    for (const MouseButtonFlags& button : kHeldMouseButtons) {
        const DWORD which = button.Down == MOUSEEVENTF_XDOWN ? data : 0;
        if (flags & button.Down) held.MouseButtons.insert({button.Up, which});
        if (flags & button.Up) held.MouseButtons.erase({button.Up, which});
    }
}

int ReleaseHeldKeysAndButtons() {
    std::set<int> keys;
    std::set<std::pair<DWORD, DWORD>> buttons;
    {
        HeldRecord& held = Held();
        std::lock_guard<std::mutex> guard(held.Lock);
        keys.swap(held.Keys);
        buttons.swap(held.MouseButtons);
    }
    for (const auto& [up, data] : buttons) SendMouseEvent(up, data);
    for (int key : keys) SendKeyEvent(key, true);
    return static_cast<int>(keys.size() + buttons.size());
}

void NoteRepeatTimer(UINT_PTR id, bool running) {
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    if (running) held.RepeatTimers.insert(id);
    else held.RepeatTimers.erase(id);
}

std::vector<UINT_PTR> TakeRepeatTimers() {
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    std::vector<UINT_PTR> running(held.RepeatTimers.begin(), held.RepeatTimers.end());
    held.RepeatTimers.clear();
    return running;
}

void NoteButtonPress(int button, NotedPress press) {
    if (!IsButtonIndex(button)) return;
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    held.Presses[button] = press;
}

void ForgetButtonPresses() {
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    for (auto& press : held.Presses) press.reset();
}

std::optional<NotedPress> TakeButtonPress(int button) {
    if (!IsButtonIndex(button)) return std::nullopt;
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    return std::exchange(held.Presses[button], std::nullopt);
}

MacroActivity::MacroActivity() {
    if (t_activityDepth++ == 0) {
        t_stopsAtStart = g_macroStops.load();
        t_priorityBefore.reset();
        t_priorityAsked = false;
    }
    g_macrosPlaying.fetch_add(1);
}

MacroActivity::~MacroActivity() {
    if (--t_activityDepth == 0 && t_priorityBefore) {
        Sys().Kernel.SetCurrentThreadPriority(*t_priorityBefore);
        t_priorityBefore.reset();
    }
    std::lock_guard<std::mutex> guard(g_playLock);
    g_macrosPlaying.fetch_sub(1);
    g_playEnded.notify_all();
}

void KeepMacroThreadOnTime() {
    if (t_activityDepth == 0 || t_priorityAsked) return;
    t_priorityAsked = true;
    KernelServices& kernel = Sys().Kernel;
    const int before = kernel.GetCurrentThreadPriority();
    if (before < kMacroThreadPriority && kernel.SetCurrentThreadPriority(kMacroThreadPriority))
        t_priorityBefore = before;
}

bool WaitForMacrosToEnd(std::chrono::milliseconds slice) {
    std::unique_lock<std::mutex> lock(g_playLock);
    return g_playEnded.wait_for(lock, slice, [] { return g_macrosPlaying.load() == 0; });
}

bool MacroPlaying() { return g_macrosPlaying.load() != 0; }

void StopMacros() { g_macroStops.fetch_add(1); }

void BarMacros(bool barred) { g_macrosBarred.store(barred); }

bool MacroStopped() {
    return t_activityDepth > 0 && (g_macrosBarred.load() || g_macroStops.load() != t_stopsAtStart);
}

void ResetHeldInput() {
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    held.Keys.clear();
    held.MouseButtons.clear();
    for (auto& press : held.Presses) press.reset();
    held.RepeatTimers.clear();
    for (auto& kind : held.MacroRequests)
        for (int& count : kind) count = 0;
    g_macrosBarred.store(false);
}

void NoteMacroRequest(bool whileHeld, int button) {
    if (button < 0 || button >= kButtonCount) return;
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    ++held.MacroRequests[whileHeld ? 1 : 0][button];
}

bool TakeMacroRequest(bool whileHeld, int button) {
    if (button < 0 || button >= kButtonCount) return false;
    HeldRecord& held = Held();
    std::lock_guard<std::mutex> guard(held.Lock);
    int& count = held.MacroRequests[whileHeld ? 1 : 0][button];
    if (count == 0) return false;
    --count;
    return true;
}
