#include "tests/wine/scroll/InputRecording.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeoutMs = 15000;

int g_recordings = 0;

// The recorder writes its file in text mode: lines may end in "\r".
std::vector<std::string> RecordedLines(const std::wstring& path) {
    std::vector<std::string> lines = LogLines(path);
    for (auto& line : lines)
        if (!line.empty() && line.back() == '\r') line.pop_back();
    return lines;
}

std::string Field(const std::string& line, const std::string& key) {
    const auto at = line.find(" " + key + "=");
    if (at == std::string::npos) return std::string();
    const auto start = at + key.size() + 2;
    return line.substr(start, line.find(' ', start) - start);
}

}  // namespace

InputRecording::~InputRecording() { Kill(); }

void InputRecording::Kill() {
    process_.Kill();
    process_.Release();
}

bool InputRecording::Start(const std::wstring& folder) {
    const std::wstring run = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++g_recordings);
    outPath_ = folder + L"\\input-" + run + L".log";
    stopEvent_ = L"InputRecorderStop-" + run;
    process_ = e2e::Start(folder + L"\\inputrecorder.exe", L"--out \"" + outPath_ + L"\" --stop-event " + stopEvent_);
    if (process_.handle == nullptr) return false;
    const DWORD start = GetTickCount();
    for (;;) {
        const auto lines = RecordedLines(outPath_);
        if (!lines.empty() && lines.front() == "ready") return true;
        if (!process_.Running() || GetTickCount() - start > kStartTimeoutMs) return false;
        Sleep(20);
    }
}

bool InputRecording::Stop() {
    if (process_.handle == nullptr) return false;
    HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, stopEvent_.c_str());
    if (stop != nullptr) {
        SetEvent(stop);
        CloseHandle(stop);
    }
    const bool ended = process_.Wait(10000);
    process_.Kill();
    process_.Release();
    return ended;
}

std::vector<std::string> InputRecording::Injected() const {
    std::vector<std::string> events;
    for (const auto& line : RecordedLines(outPath_)) {
        if (Field(line, "injected") != "1") continue;
        const std::string message = Field(line, "msg");
        if (line.rfind("mouse ", 0) == 0 && message != "0x200")
            events.push_back("mouse msg=" + message + " x=" + Field(line, "x") + " y=" + Field(line, "y"));
        else if (line.rfind("key ", 0) == 0)
            events.push_back("key msg=" + message + " vk=" + Field(line, "vk"));
    }
    return events;
}

bool InputRecording::WaitForInjected(std::size_t count, unsigned timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Injected().size() < count) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace e2e
