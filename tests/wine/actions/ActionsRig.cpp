#include "tests/wine/actions/ActionsRig.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "hidsim/win32/ControlChannel.h"

namespace e2e {

namespace {

// The value of "name=..." among the line's words, as text.
bool Field(const std::string& line, const char* name, std::string& value) {
    const std::string wanted = std::string(" ") + name + "=";
    const auto at = line.find(wanted);
    if (at == std::string::npos) return false;
    const auto start = at + wanted.size();
    const auto end = line.find(' ', start);
    value = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return true;
}

unsigned long long Number(const std::string& line, const char* name) {
    std::string value;
    if (!Field(line, name, value)) return 0;
    return std::strtoull(value.c_str(), nullptr, 0);
}

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

}  // namespace

unsigned long long MicrosecondsNow() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<unsigned long long>(counter.QuadPart);
    const auto f = static_cast<unsigned long long>(frequency.QuadPart);
    return ticks / f * 1000000ull + ticks % f * 1000000ull / f;
}

std::string RecordedInput::Brief() const {
    if (key) return "key vk=" + Hex(vk) + " ext=" + (extended ? "1" : "0") + " up=" + (up ? "1" : "0");
    return "mouse msg=" + Hex(msg) + " high=" + std::to_string(high);
}

bool ParseRecordedInput(const std::string& line, RecordedInput& input) {
    const bool key = line.compare(0, 4, "key ") == 0;
    if (!key && line.compare(0, 6, "mouse ") != 0) return false;
    input = RecordedInput{};
    input.key = key;
    input.t = Number(line, "t");
    input.msg = static_cast<unsigned>(Number(line, "msg"));
    input.flags = static_cast<unsigned>(Number(line, "flags"));
    input.injected = Number(line, "injected") != 0;
    input.time = static_cast<unsigned long>(Number(line, "time"));
    if (key) {
        input.vk = static_cast<unsigned>(Number(line, "vk"));
        input.extended = Number(line, "extended") != 0;
        input.up = Number(line, "up") != 0;
    } else {
        std::string high;
        if (Field(line, "high", high)) input.high = std::atoi(high.c_str());
    }
    return true;
}

bool InputRecorder::Start(const std::wstring& folder) {
    out_ = folder + L"\\recorded-input.txt";
    stopName_ = L"InputRecorderStop-" + std::to_wstring(GetCurrentProcessId());
    DeleteFileW(out_.c_str());
    process_ = e2e::Start(folder + L"\\inputrecorder.exe", L"--out \"" + out_ + L"\" --stop-event " + stopName_);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 15000) {
        if (ReadFile(out_).compare(0, 5, "ready") == 0) return true;
        if (!process_.Running()) return false;
        Sleep(10);
    }
    return false;
}

void InputRecorder::Stop() {
    if (process_.handle == nullptr) return;
    if (HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, stopName_.c_str())) {
        SetEvent(stop);
        CloseHandle(stop);
    }
    if (!process_.Wait(5000)) process_.Kill();
    process_.Release();
}

std::vector<RecordedInput> InputRecorder::Injected() const {
    std::vector<RecordedInput> events;
    for (const std::string& line : LogLines(out_)) {
        RecordedInput input;
        if (ParseRecordedInput(line, input) && input.injected) events.push_back(input);
    }
    return events;
}

bool InputRecorder::WaitForInjected(std::size_t count, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Injected().size() < count) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

std::vector<RecordedInput> InputRecorder::WaitUntilQuiet(DWORD quietMs, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    std::vector<RecordedInput> last = Injected();
    DWORD changed = GetTickCount();
    while (GetTickCount() - changed < quietMs && GetTickCount() - start < timeoutMs) {
        Sleep(10);
        std::vector<RecordedInput> now = Injected();
        if (now.size() != last.size()) {
            last = std::move(now);
            changed = GetTickCount();
        }
    }
    return last;
}

std::vector<std::uint8_t> MacroEvent(bool press, int delay, std::uint8_t key) {
    return {static_cast<std::uint8_t>((press ? 0x80 : 0) | ((delay >> 8) & 0x7F)),
            static_cast<std::uint8_t>(delay & 0xFF), key};
}

ActionsRig::ActionsRig() {
    CloseStragglers();
    RemoveTree(DataFolder());
    folder_ = MakeInstallCopy();
    CreateDirectoryW(DataFolder().c_str(), nullptr);
    CopyFileW((folder_ + L"\\config.ini").c_str(), (DataFolder() + L"config.ini").c_str(), FALSE);
    mouseLog_ = folder_ + L"\\hidsim.log";
    pipe_ = L"HidSimActions-" + std::to_wstring(GetCurrentProcessId());
    SetEnvironmentVariableW(L"HIDSIM_LOG", mouseLog_.c_str());
    SetEnvironmentVariableW(L"HIDSIM_PIPE", pipe_.c_str());
}

ActionsRig::~ActionsRig() {
    if (service_.process.Running()) CloseService();
    recorder_.Stop();
    CloseStragglers();
    SetEnvironmentVariableW(L"HIDSIM_LOG", nullptr);
    SetEnvironmentVariableW(L"HIDSIM_PIPE", nullptr);
    SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", nullptr);
    RemoveTree(folder_);
}

void ActionsRig::Assign(const std::vector<Assignment>& assignments) {
    const std::wstring ini = DataFolder() + L"config.ini";
    WritePrivateProfileStringW(L"Setting", L"Profile", L"0", ini.c_str());
    for (const Assignment& a : assignments) {
        const std::wstring section = L"ButtonAssigned0_" + std::to_wstring(a.button + 1);
        WritePrivateProfileStringW(section.c_str(), L"ButtonFunc", std::to_wstring(a.function).c_str(), ini.c_str());
        WritePrivateProfileStringW(section.c_str(), L"ButtonID", std::to_wstring(a.buttonId).c_str(), ini.c_str());
        WritePrivateProfileStringW(section.c_str(), L"KeyNumber", std::to_wstring(a.keyNumber).c_str(), ini.c_str());
        WritePrivateProfileStringW(section.c_str(), L"Path", a.path.c_str(), ini.c_str());
        std::uint8_t data[240] = {};
        for (std::size_t i = 0; i < a.macro.size() && i < sizeof data; ++i) data[i] = a.macro[i];
        WritePrivateProfileStructW(L"GROUP0", section.c_str(), data, sizeof data, ini.c_str());
    }
}

bool ActionsRig::StartRecorder() { return recorder_.Start(folder_); }

bool ActionsRig::StartService(bool mousePlugged) {
    SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", mousePlugged ? nullptr : L"1");
    service_ = e2e::StartService(folder_);
    return service_.window != nullptr && Answers(20000);
}

bool ActionsRig::Start(bool mousePlugged) { return StartRecorder() && StartService(mousePlugged); }

bool ActionsRig::Answers(DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    return service_.window != nullptr &&
           SendMessageTimeoutW(service_.window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool ActionsRig::CloseService() {
    DWORD exitCode = 1;
    return e2e::CloseService(service_, &exitCode) && exitCode == 0;
}

bool ActionsRig::Control(const std::string& request) const {
    std::string answer;
    return CallControlPipe(request, answer) && answer.compare(0, 2, "ok") == 0;
}

}  // namespace e2e
