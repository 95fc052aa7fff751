#include "tests/wine/scroll/WindowTreeRun.h"

#include <cstdio>
#include <cstdlib>

namespace e2e {
namespace {

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kStopTimeoutMs = 15000;

int g_runs = 0;

// The value of " key=" in a line, up to the next blank.
std::string Field(const std::string& line, const std::string& key) {
    const auto at = line.find(" " + key + "=");
    if (at == std::string::npos) return std::string();
    const auto start = at + key.size() + 2;
    return line.substr(start, line.find(' ', start) - start);
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    for (const auto& line : lines)
        if (line == wanted) return true;
    return false;
}

}  // namespace

std::string HexText(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

WindowTreeRun::~WindowTreeRun() { Kill(); }

void WindowTreeRun::Kill() {
    process_.Kill();
    process_.Release();
}

bool WindowTreeRun::Start(const std::wstring& folder, const std::string& layout) {
    const std::wstring run = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++g_runs);
    const std::wstring layoutPath = folder + L"\\windowtree-" + run + L".txt";
    logPath_ = folder + L"\\windowtree-" + run + L".log";
    stopEvent_ = L"WindowTreeStop-" + run;
    WriteFile(layoutPath, layout);
    process_ = e2e::Start(folder + L"\\windowtree.exe",
                          L"--layout \"" + layoutPath + L"\" --out \"" + logPath_ + L"\" --stop-event " + stopEvent_);
    if (process_.handle == nullptr) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        ReadLog();
        if (HasLine(log_, "ready")) break;
        if (!process_.Running() || GetTickCount() - start > kStartTimeoutMs) return false;
        Sleep(20);
    }
    for (const auto& line : log_) {
        if (line.rfind("window ", 0) == 0) {
            const std::string name = line.substr(7, line.find(' ', 7) - 7);
            handles_[name] = reinterpret_cast<HWND>(std::strtoull(Field(line, "hwnd").c_str(), nullptr, 16));
            RECT rect{};
            std::sscanf(Field(line, "rect").c_str(), "%ld,%ld,%ld,%ld", &rect.left, &rect.top, &rect.right,
                        &rect.bottom);
            rects_[name] = rect;
        } else if (line.rfind("pointer ", 0) == 0) {
            std::sscanf(line.c_str(), "pointer %ld %ld", &pointer_.x, &pointer_.y);
        }
    }
    return true;
}

bool WindowTreeRun::Stop() {
    if (process_.handle == nullptr) return false;
    HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, stopEvent_.c_str());
    if (stop != nullptr) {
        SetEvent(stop);
        CloseHandle(stop);
    }
    DWORD exitCode = 1;
    const bool ended = process_.Wait(kStopTimeoutMs, &exitCode);
    process_.Kill();
    process_.Release();
    ReadLog();
    return ended && exitCode == 0 && HasLine(log_, "stopped");
}

void WindowTreeRun::ReadLog() { log_ = LogLines(logPath_); }

HWND WindowTreeRun::Handle(const std::string& name) const {
    const auto it = handles_.find(name);
    return it == handles_.end() ? nullptr : it->second;
}

RECT WindowTreeRun::Rect(const std::string& name) const {
    const auto it = rects_.find(name);
    return it == rects_.end() ? RECT{} : it->second;
}

std::vector<std::string> WindowTreeRun::Messages(const std::string& name) const {
    std::vector<std::string> messages;
    const std::string prefix = name + " msg=";
    for (const auto& line : log_)
        if (line.rfind(prefix, 0) == 0) messages.push_back(line.substr(name.size() + 1));
    return messages;
}

std::vector<std::string> WindowTreeRun::AllMessages() const {
    std::vector<std::string> messages;
    for (const auto& line : log_)
        if (line.find(" msg=") != std::string::npos) messages.push_back(line);
    return messages;
}

}  // namespace e2e
