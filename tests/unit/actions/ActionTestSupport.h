// Test doubles for the action engine: a recording main window with a
// settings file and a mouse behind it, a window tree for the window
// questions, and a fixture on the fake platform's virtual clock with the
// input recorder and the fine clock on the same time.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "actions/ActionHost.h"
#include "actions/ButtonDispatcher.h"
#include "actions/HeldInput.h"
#include "actions/ProgramLaunch.h"
#include "actions/HorizontalScrolling.h"
#include "actions/MacroPlayer.h"
#include "actions/WindowQueries.h"
#include "platform/fake/FakeInput.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakePreciseClock.h"

namespace acttest {

inline std::string Format(const char* format, long long a = 0, long long b = 0, long long c = 0) {
    char line[160];
    std::snprintf(line, sizeof line, format, a, b, c);
    return line;
}

// Compares sequences step by step; on a mismatch prints both, numbered.
inline void ExpectSequence(const std::vector<std::string>& expected,
                           const std::vector<std::string>& actual) {
    if (expected == actual) return;
    std::string dump = "expected:\n";
    for (std::size_t i = 0; i < expected.size(); ++i) dump += "  " + std::to_string(i) + ": " + expected[i] + "\n";
    dump += "actual:\n";
    for (std::size_t i = 0; i < actual.size(); ++i) dump += "  " + std::to_string(i) + ": " + actual[i] + "\n";
    ADD_FAILURE() << dump;
}

// Builds a button's macro block event by event.
class MacroBuilder {
public:
    MacroBuilder& Press(std::uint8_t key, std::uint16_t delay) { return Add(true, key, delay); }
    MacroBuilder& Release(std::uint8_t key, std::uint16_t delay) { return Add(false, key, delay); }
    MacroBuilder& Raw(std::uint8_t b0, std::uint8_t b1, std::uint8_t key) {
        if (count_ < kMaxMacroEvents) {
            data_[count_ * 3] = b0;
            data_[count_ * 3 + 1] = b1;
            data_[count_ * 3 + 2] = key;
            ++count_;
        }
        return *this;
    }
    MacroData Build() const { return data_; }

private:
    MacroBuilder& Add(bool press, std::uint8_t key, std::uint16_t delay) {
        return Raw(static_cast<std::uint8_t>((press ? 0x80 : 0) | ((delay >> 8) & 0x7F)),
                   static_cast<std::uint8_t>(delay & 0xFF), key);
    }
    MacroData data_{};
    std::size_t count_ = 0;
};

// The main window as the dispatcher sees it: WorkingSettings and
// SettingsSnapshot, a settings "file" that ReloadActiveProfile reads the
// Setting section and the active slot from, a mouse that holds a stage and
// the table last written, and a journal of every call with its virtual time.
class RecordingHost final : public ActionHost {
public:
    explicit RecordingHost(FakePlatform& platform)
        : platform_(platform),
          working_(new ServiceSettings()),
          snapshot_(new ServiceSettings()),
          file_(new ServiceSettings()) {
        for (ServiceSettings* s : {working_.get(), snapshot_.get(), file_.get()}) {
            std::memset(s, 0, sizeof *s);
            for (auto& profile : s->Profiles)
                for (auto& button : profile.Buttons) button.ButtonFunc = 255;
        }
    }

    ServiceSettings& Working() { return *working_; }
    ServiceSettings& Snapshot() { return *snapshot_; }
    ServiceSettings& File() { return *file_; }
    // Sets a button in the file and, as a reload would, in WorkingSettings.
    ButtonAssignment& Assign(int profile, int button, std::uint8_t code, std::int32_t buttonId = 0) {
        ButtonAssignment& a = file_->Profiles[profile].Buttons[button];
        a.ButtonFunc = code;
        a.ButtonID = buttonId;
        working_->Profiles[profile].Buttons[button] = a;
        return a;
    }
    void SetMacro(int profile, int button, const MacroData& data) {
        std::memcpy(file_->Profiles[profile].Buttons[button].ButtonData, data.data(), data.size());
        std::memcpy(working_->Profiles[profile].Buttons[button].ButtonData, data.data(), data.size());
    }
    void SetStages(int profile, std::initializer_list<int> resolutions) {
        int k = 0;
        for (int r : resolutions) {
            for (ServiceSettings* s : {working_.get(), file_.get()})
                s->Profiles[profile].DPIStageValue[k] = DpiStage{1, r, r};
            ++k;
        }
    }

    // The simulated mouse: -1 answers as a mouse that cannot be opened.
    int mouseStage = 0;
    bool mouseReachable = true;
    int mouseStageX = 0;  // X of the selected stage in the table last written
    std::vector<std::string> journal;
    // Called right after each copy of a macro (the start of a pass).
    std::function<void(int button)> onMacroCopy;

    // --- ActionHost ---
    int ActiveProfileIndex() override { return working_->Profile; }
    void ReloadActiveProfile() override {
        Log("ReloadActiveProfile");
        working_->Profile = file_->Profile;
        if (working_->Profile < 0 || working_->Profile >= kProfileCount) working_->Profile = 0;
        working_->Profiles[working_->Profile] = file_->Profiles[working_->Profile];
    }
    ButtonAssignment WorkingAssignment(int profile, int button) override {
        return working_->Profiles[profile].Buttons[button];
    }
    ButtonAssignment SnapshotAssignment(int profile, int button) override {
        return snapshot_->Profiles[profile].Buttons[button];
    }
    void CopyTopStageResolution(int profile, int stage) override {
        Log(Format("CopyTopStageResolution %lld %lld", profile, stage));
        DpiStage* stages = working_->Profiles[profile].DPIStageValue;
        stages[stage].X = stages[4].X;
        stages[stage].Y = stages[4].Y;
    }
    int ReadResolutionStage() override {
        const int stage = mouseReachable ? mouseStage : -1;
        Log(Format("ReadResolutionStage -> %lld", stage));
        return stage;
    }
    void SelectResolutionStage(int stage) override {
        Log(Format("SelectResolutionStage %lld", stage));
        if (mouseReachable) mouseStage = Limit(stage);
    }
    void WriteResolutionStages(int stage) override {
        const DpiStage* s = working_->Profiles[working_->Profile].DPIStageValue;
        char table[96];
        std::snprintf(table, sizeof table, "%d,%d,%d,%d,%d", static_cast<int>(s[0].X),
                      static_cast<int>(s[1].X), static_cast<int>(s[2].X), static_cast<int>(s[3].X),
                      static_cast<int>(s[4].X));
        Log(Format("WriteResolutionStages %lld ", stage) + table);
        if (!mouseReachable) return;
        mouseStage = Limit(stage);
        mouseStageX = s[mouseStage].X;
    }
    HWND MainWindowHandle() override { return mainWindow; }
    void SetMainWindowTimer(UINT_PTR id, UINT milliseconds) override {
        Log(Format("SetTimer %lld %lld", static_cast<long long>(id), milliseconds));
        timers[id] = milliseconds;
    }
    void KillMainWindowTimer(UINT_PTR id) override {
        Log(Format("KillTimer %lld", static_cast<long long>(id)));
        timers.erase(id);
    }
    void PostToMacroWorker(UINT message, WPARAM wParam, LPARAM lParam) override {
        Log(Format("PostToMacroWorker 0x%llX %lld %lld", message, static_cast<long long>(wParam),
                   static_cast<long long>(lParam)));
    }
    void PostToConfigurationProgram(UINT message, WPARAM wParam, LPARAM lParam) override {
        Log(Format("PostToConfigurationProgram 0x%llX %lld %lld", message,
                   static_cast<long long>(static_cast<LONG_PTR>(wParam)), static_cast<long long>(lParam)));
    }
    MacroData ActiveMacroData(int button) override {
        Log(Format("ActiveMacroData %lld", button));
        MacroData data;
        std::memcpy(data.data(), working_->Profiles[working_->Profile].Buttons[button].ButtonData,
                    data.size());
        if (onMacroCopy) onMacroCopy(button);
        return data;
    }

    HWND mainWindow = reinterpret_cast<HWND>(0x51);
    std::map<UINT_PTR, UINT> timers;  // running timers: id -> period

private:
    static int Limit(int stage) { return stage < 0 ? 0 : (stage > 4 ? 4 : stage); }
    void Log(const std::string& line) { journal.push_back(std::to_string(platform_.Now()) + " " + line); }

    FakePlatform& platform_;
    std::unique_ptr<ServiceSettings> working_;
    std::unique_ptr<ServiceSettings> snapshot_;
    std::unique_ptr<ServiceSettings> file_;
};

// Windows of other programs: class names, parents, creating threads, the
// window under the pointer and the foreground window.
class FakeWindowTree final : public WindowQueries {
public:
    struct Node {
        Text className;
        HWND parent = nullptr;
        DWORD thread = 0;
    };

    HWND Add(const Text& className, HWND parent = nullptr, DWORD thread = 0) {
        const HWND hwnd = reinterpret_cast<HWND>(next_++);
        nodes_[hwnd] = Node{className, parent, thread};
        return hwnd;
    }
    void SetNode(HWND hwnd, DWORD thread) { nodes_[hwnd] = Node{u"", nullptr, thread}; }

    HWND underPointer = nullptr;
    HWND foreground = nullptr;
    std::vector<std::string> journal;  // foreground hand-over calls
    std::function<void(const std::string&)> onCall;

    HWND WindowFromPoint(POINT point) override {
        lastPoint = point;
        return underPointer;
    }
    Text GetClassNameW(HWND window) override {
        auto it = nodes_.find(window);
        return it == nodes_.end() ? Text() : it->second.className;
    }
    HWND GetParent(HWND window) override {
        auto it = nodes_.find(window);
        return it == nodes_.end() ? nullptr : it->second.parent;
    }
    HWND GetForegroundWindow() override {
        Log("GetForegroundWindow");
        return foreground;
    }
    DWORD GetWindowThreadProcessId(HWND window) override {
        auto it = nodes_.find(window);
        return it == nodes_.end() ? 0 : it->second.thread;
    }
    BOOL AttachThreadInput(DWORD attach, DWORD to, BOOL on) override {
        Log(Format("AttachThreadInput %lld %lld %lld", attach, to, on));
        return TRUE;
    }
    BOOL SetForegroundWindow(HWND window) override {
        Log(Format("SetForegroundWindow 0x%llX", static_cast<long long>(reinterpret_cast<std::uintptr_t>(window))));
        return TRUE;
    }

    POINT lastPoint{-1, -1};

private:
    void Log(const std::string& line) {
        journal.push_back(line);
        if (onCall) onCall(line);
    }
    std::uintptr_t next_ = 0x1000;
    std::map<HWND, Node> nodes_;
};

// Each test starts from a clean process: a fresh fake platform, input
// recorder and fine clock on one virtual clock, no scrolling, and the
// dispatcher's process-wide values at their initial state.
class ActionTest : public ::testing::Test {
protected:
    ActionTest()
        : input([this] { return fake.Now(); }),
          clock([this] { return fake.Now(); },
                [this](std::uint64_t ms) {
                    fake.AdvanceClock(ms + lateWakeMs);
                    if (onAdvance) onAdvance(fake.Now());
                }),
          host(fake) {}

    void SetUp() override {
        SetPlatform(&platform);
        SetScrolling(nullptr);
        MacroRunFlag.store(0);
        ClutchToggleCounter.store(0);
        ResetHeldInput();
        ResetLaunchGuard();
    }
    void TearDown() override {
        SetScrolling(nullptr);
        MacroRunFlag.store(0);
        ClutchToggleCounter.store(0);
        ResetHeldInput();
    }

    void Press(int button) { ButtonPressed(host, windows, button); }
    void Release(int button) { ButtonReleased(host, button); }

    FakePlatform fake;
    FakeInput input;
    FakePreciseClock clock;
    // The fake platform with this test's input recorder and fine clock.
    Platform platform{fake.kernel, fake.windows, fake.files, fake.shell, input, clock, fake.graphics};
    RecordingHost host;
    FakeWindowTree windows;
    // How late each wake-up of a wait comes (to show that lateness does not add up).
    std::uint64_t lateWakeMs = 0;
    // Called after each wait moved the virtual clock, with the new time.
    std::function<void(std::uint64_t)> onAdvance;
};

// Expected recorder lines.
inline std::string KeyLine(std::uint64_t t, int vk, unsigned flags) {
    return Format("%lld key vk=0x%llX scan=0 flags=0x%llX extra=0x0", static_cast<long long>(t), vk, flags);
}
inline std::string MouseLine(std::uint64_t t, unsigned flags, int data, long long extra, bool fresh = true) {
    char line[160];
    std::snprintf(line, sizeof line, "%llu mouse flags=0x%X dx=0 dy=0 data=%d extra=0x%llX%s",
                  static_cast<unsigned long long>(t), flags, data, extra, fresh ? " fresh" : "");
    return line;
}

}  // namespace acttest
