// Recorder of synthesized input for host tests: every keybd_event,
// mouse_event and SetCursorPos with its arguments and the virtual time, and
// a settable pointer position. GetMessageExtraInfo answers a fresh value at
// each call (base + number of calls), so a test can see which call an event's
// extra information came from.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Input.h"

struct InjectedEvent {
    enum class Kind { Key, Mouse, CursorMove };
    Kind kind = Kind::Key;
    std::uint64_t time = 0;  // the clock's value at the call
    BYTE virtualKey = 0;     // key events
    BYTE scanCode = 0;
    DWORD flags = 0;         // key and mouse events
    DWORD dx = 0;            // mouse events; the target point of a cursor move
    DWORD dy = 0;
    DWORD data = 0;
    ULONG_PTR extraInfo = 0;
    // Mouse events: GetMessageExtraInfo was called after the previous
    // injected event and before this one.
    bool extraFetchedBefore = false;
};

class FakeInput final : public InputInjection {
public:
    static constexpr LPARAM kDefaultExtraInfoBase = 0xE000;

    // `clock` gives the time recorded with each event (a test's virtual clock);
    // without one every event is at time 0.
    explicit FakeInput(std::function<std::uint64_t()> clock = {},
                       std::function<void(const std::string&)> record = {});

    void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) override;
    void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo) override;
    LPARAM GetMessageExtraInfo() override;
    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;

    // --- set-up by tests ---
    void SetClock(std::function<std::uint64_t()> clock);
    void SetExtraInfoBase(LPARAM base);
    void SetCursor(POINT point, bool available = true);

    // --- inspection ---
    std::vector<InjectedEvent> Events() const;
    // One line per event, for exact comparisons with a readable dump:
    //   "100 key vk=0x41 scan=0 flags=0x1 extra=0x0"
    //   "100 mouse flags=0x2 dx=0 dy=0 data=0 extra=0xe001 fresh"
    //   "100 cursor 10,20"
    // Mouse data prints signed (wheel -120); "fresh" marks a mouse event
    // whose extra information was fetched just before it.
    std::vector<std::string> Lines() const;
    static std::string Line(const InjectedEvent& event);
    int ExtraInfoQueries() const;
    void Clear();

private:
    std::uint64_t NowLocked() const;
    void AddLocked(const InjectedEvent& event);

    mutable std::mutex lock_;
    std::function<std::uint64_t()> clock_;
    std::function<void(const std::string&)> record_;  // each event's line, without its time
    std::vector<InjectedEvent> events_;
    LPARAM extraBase_ = kDefaultExtraInfoBase;
    int extraQueries_ = 0;
    bool fetchedSinceLastEvent_ = false;
    POINT cursor_{0, 0};
    bool cursorAvailable_ = true;
};
