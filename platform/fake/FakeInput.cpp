#include "platform/fake/FakeInput.h"

#include <cstdio>

FakeInput::FakeInput(std::function<std::uint64_t()> clock, std::function<void(const std::string&)> record)
    : clock_(std::move(clock)), record_(std::move(record)) {}

void FakeInput::AddLocked(const InjectedEvent& event) {
    events_.push_back(event);
    fetchedSinceLastEvent_ = false;
    if (record_) {
        const std::string line = Line(event);
        record_(line.substr(line.find(' ') + 1));
    }
}

std::uint64_t FakeInput::NowLocked() const { return clock_ ? clock_() : 0; }

void FakeInput::keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) {
    std::lock_guard<std::mutex> guard(lock_);
    InjectedEvent event;
    event.kind = InjectedEvent::Kind::Key;
    event.time = NowLocked();
    event.virtualKey = virtualKey;
    event.scanCode = scanCode;
    event.flags = flags;
    event.extraInfo = extraInfo;
    AddLocked(event);
}

void FakeInput::mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo) {
    std::lock_guard<std::mutex> guard(lock_);
    InjectedEvent event;
    event.kind = InjectedEvent::Kind::Mouse;
    event.time = NowLocked();
    event.flags = flags;
    event.dx = dx;
    event.dy = dy;
    event.data = data;
    event.extraInfo = extraInfo;
    event.extraFetchedBefore = fetchedSinceLastEvent_;
    AddLocked(event);
}

LPARAM FakeInput::GetMessageExtraInfo() {
    std::lock_guard<std::mutex> guard(lock_);
    fetchedSinceLastEvent_ = true;
    return extraBase_ + ++extraQueries_;
}

BOOL FakeInput::GetCursorPos(POINT* point) {
    std::lock_guard<std::mutex> guard(lock_);
    if (point == nullptr || !cursorAvailable_) return FALSE;
    *point = cursor_;
    return TRUE;
}

BOOL FakeInput::SetCursorPos(int x, int y) {
    std::lock_guard<std::mutex> guard(lock_);
    InjectedEvent event;
    event.kind = InjectedEvent::Kind::CursorMove;
    event.time = NowLocked();
    event.dx = static_cast<DWORD>(x);
    event.dy = static_cast<DWORD>(y);
    AddLocked(event);
    cursor_ = POINT{x, y};
    return TRUE;
}

void FakeInput::SetClock(std::function<std::uint64_t()> clock) {
    std::lock_guard<std::mutex> guard(lock_);
    clock_ = std::move(clock);
}

void FakeInput::SetExtraInfoBase(LPARAM base) {
    std::lock_guard<std::mutex> guard(lock_);
    extraBase_ = base;
}

void FakeInput::SetCursor(POINT point, bool available) {
    std::lock_guard<std::mutex> guard(lock_);
    cursor_ = point;
    cursorAvailable_ = available;
}

std::vector<InjectedEvent> FakeInput::Events() const {
    std::lock_guard<std::mutex> guard(lock_);
    return events_;
}

std::string FakeInput::Line(const InjectedEvent& e) {
    char line[160];
    const auto time = static_cast<unsigned long long>(e.time);
    const auto extra = static_cast<unsigned long long>(e.extraInfo);
    switch (e.kind) {
        case InjectedEvent::Kind::Key:
            std::snprintf(line, sizeof line, "%llu key vk=0x%X scan=%u flags=0x%X extra=0x%llX", time,
                          static_cast<unsigned>(e.virtualKey), static_cast<unsigned>(e.scanCode),
                          static_cast<unsigned>(e.flags), extra);
            break;
        case InjectedEvent::Kind::Mouse:
            std::snprintf(line, sizeof line, "%llu mouse flags=0x%X dx=%d dy=%d data=%d extra=0x%llX%s",
                          time, static_cast<unsigned>(e.flags), static_cast<int>(e.dx),
                          static_cast<int>(e.dy), static_cast<int>(e.data), extra,
                          e.extraFetchedBefore ? " fresh" : "");
            break;
        case InjectedEvent::Kind::CursorMove:
            std::snprintf(line, sizeof line, "%llu cursor %d,%d", time, static_cast<int>(e.dx),
                          static_cast<int>(e.dy));
            break;
    }
    return line;
}

std::vector<std::string> FakeInput::Lines() const {
    std::vector<std::string> lines;
    for (const InjectedEvent& event : Events()) lines.push_back(Line(event));
    return lines;
}

int FakeInput::ExtraInfoQueries() const {
    std::lock_guard<std::mutex> guard(lock_);
    return extraQueries_;
}

void FakeInput::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    events_.clear();
    extraQueries_ = 0;
    fetchedSinceLastEvent_ = false;
}
