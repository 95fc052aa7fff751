// The action engine end to end: the installed service with the simulated
// mouse, assignments written into the settings file for the test, and the
// input recorder in a process of its own. Buttons pressed and released
// through the mouse's control pipe must give exactly the assigned input as
// the system sees it (low-level hooks), with the flags each function uses.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/wine/actions/ActionsRig.h"

namespace {

using namespace e2e;

constexpr std::uint8_t kUsageA = 0x04;
constexpr std::uint8_t kUsageB = 0x05;

std::vector<std::string> Briefs(const std::vector<RecordedInput>& events) {
    std::vector<std::string> briefs;
    for (const auto& e : events) briefs.push_back(e.Brief());
    return briefs;
}

std::string Dump(const std::vector<RecordedInput>& events) {
    std::ostringstream out;
    for (const auto& e : events) out << "  " << e.t << " " << e.Brief() << " time=" << e.time << "\n";
    return out.str();
}

// One request to the mouse, and the input that must have been injected in
// total once it has been carried out.
struct Step {
    std::string request;
    std::vector<std::string> injectedSoFar;
};

struct Scenario {
    const char* name;
    std::vector<Assignment> assignments;
    std::vector<Step> steps;
};
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> scenarios = {
        {"RightButton",
         {{2, 3}},
         {{"press 2", {"mouse msg=0x204 high=0"}},
          {"release 2", {"mouse msg=0x204 high=0", "mouse msg=0x205 high=0"}}}},
        {"ExtraButton2",
         {{1, 5}},
         {{"press 1", {"mouse msg=0x20b high=2"}},
          {"release 1", {"mouse msg=0x20b high=2", "mouse msg=0x20c high=2"}}}},
        {"KeyTapWithTheExtendedFlagOnPressOnly",
         {{3, 72, 0, kUsageA}},
         {{"press 3", {"key vk=0x41 ext=1 up=0", "key vk=0x41 ext=1 up=1"}},
          {"release 3", {"key vk=0x41 ext=1 up=0", "key vk=0x41 ext=1 up=1"}}}},
        {"DoubleClickOnRelease",
         {{4, 11}},
         {{"press 4", {}},
          {"release 4",
           {"mouse msg=0x201 high=0", "mouse msg=0x202 high=0", "mouse msg=0x201 high=0", "mouse msg=0x202 high=0"}}}},
        {"WheelButtonsOnRelease",
         {{5, 9}, {6, 10}},
         {{"press 5", {}},
          {"release 5", {"mouse msg=0x20a high=120"}},
          {"press 6", {"mouse msg=0x20a high=120"}},
          {"release 6", {"mouse msg=0x20a high=120", "mouse msg=0x20a high=-120"}}}},
        {"MediaKeysOnRelease",
         {{1, 24}, {2, 71}},
         {{"press 1", {}},
          {"release 1", {"key vk=0xb3 ext=1 up=0", "key vk=0xb3 ext=1 up=1"}},
          {"press 2", {"key vk=0xb3 ext=1 up=0", "key vk=0xb3 ext=1 up=1"}},
          {"release 2",
           {"key vk=0xb3 ext=1 up=0", "key vk=0xb3 ext=1 up=1", "key vk=0xad ext=1 up=0", "key vk=0xad ext=1 up=1"}}}},
        {"WheelReports",
         {},
         {{"report 03 f0", {"mouse msg=0x20a high=120"}},
          {"report 03 f1", {"mouse msg=0x20a high=120", "mouse msg=0x20a high=-120"}}}},
        {"UnassignedAndMouseOnlyCodesInjectNothing",
         {{1, 255}, {2, 34}, {3, 0}},
         {{"press 1", {}}, {"release 1", {}}, {"press 2", {}}, {"release 2", {}}, {"press 3", {}}, {"release 3", {}}}},
    };
    return scenarios;
}

class ActionsE2E : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set"; }
    // Waits for `expected`, then a little more to see that nothing else comes.
    std::vector<RecordedInput> Settled(std::size_t expected) {
        rig.Recorder().WaitForInjected(expected, 5000);
        return rig.Recorder().WaitUntilQuiet(300, 5000);
    }
    ActionsRig rig;
};

class ActionsScenarioE2E : public ActionsE2E, public ::testing::WithParamInterface<Scenario> {};

TEST_P(ActionsScenarioE2E, InjectsExactlyTheAssignedInput) {
    const Scenario& scenario = GetParam();
    rig.Assign(scenario.assignments);
    ASSERT_TRUE(rig.Start());
    for (const Step& step : scenario.steps) {
        ASSERT_TRUE(rig.Control(step.request)) << step.request;
        const auto events = Settled(step.injectedSoFar.size());
        EXPECT_EQ(Briefs(events), step.injectedSoFar) << "after " << step.request << ":\n" << Dump(events);
    }
    EXPECT_TRUE(rig.CloseService());
}

INSTANTIATE_TEST_SUITE_P(Functions, ActionsScenarioE2E, ::testing::ValuesIn(Scenarios()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActionsE2E, VolumeTapsRepeatWhileHeldAndStopAtRelease) {
    rig.Assign({{1, 25}});
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Press(1));
    ASSERT_TRUE(rig.Recorder().WaitForInjected(6, 5000)) << "three taps while held";
    ASSERT_TRUE(rig.Release(1));
    const auto events = rig.Recorder().WaitUntilQuiet(500, 5000);  // five periods without a tap
    ASSERT_GE(events.size(), 6u);
    ASSERT_EQ(events.size() % 2, 0u) << Dump(events);
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(events[i].Brief(), std::string("key vk=0xaf ext=1 up=") + (i % 2 ? "1" : "0")) << i;
    EXPECT_TRUE(rig.CloseService());
}

// Events never leave before their due time, the pass's start plus the
// delays before them: measured on the events' own time stamps (milliseconds)
// from the first event, which leaves at the start.
TEST_F(ActionsE2E, AMacroOncePlaysItsEventsAtTheirDueTimes) {
    std::vector<std::uint8_t> macro;
    for (const auto& e : {MacroEvent(true, 5, kUsageA), MacroEvent(false, 0, kUsageA), MacroEvent(true, 2, 0xB8),
                          MacroEvent(false, 3, 0xB8), MacroEvent(true, 1, kUsageB), MacroEvent(false, 0, kUsageB)})
        macro.insert(macro.end(), e.begin(), e.end());
    rig.Assign({{3, 73, 0, 0, macro}});
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Press(3));
    ASSERT_TRUE(rig.Release(3));
    const auto events = Settled(6);
    ASSERT_EQ(Briefs(events), (std::vector<std::string>{"key vk=0x41 ext=1 up=0", "key vk=0x41 ext=1 up=1",
                                                        "mouse msg=0x204 high=0", "mouse msg=0x205 high=0",
                                                        "key vk=0x42 ext=1 up=0", "key vk=0x42 ext=1 up=1"}))
        << Dump(events);
    const long dueMs[] = {0, 100, 100, 140, 200, 220};
    std::printf("lateness against the due times (ms):");
    for (std::size_t i = 0; i < events.size(); ++i) {
        const long offset = static_cast<long>(events[i].time - events[0].time);
        // One millisecond for the granularity of the time stamps.
        EXPECT_GE(offset + 1, dueMs[i]) << "event " << i << " came early:\n" << Dump(events);
        std::printf(" %ld", offset - dueMs[i]);
    }
    std::printf("\n");
    EXPECT_TRUE(rig.CloseService());
}

TEST_F(ActionsE2E, AWhileHeldMacroRepeatsAndStopsAfterTheReleaseWithTheWholePass) {
    std::vector<std::uint8_t> macro;
    for (const auto& e : {MacroEvent(true, 1, kUsageA), MacroEvent(false, 1, kUsageA)})
        macro.insert(macro.end(), e.begin(), e.end());
    rig.Assign({{2, 44, 65535, 0, macro}});
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Press(2));
    ASSERT_TRUE(rig.Recorder().WaitForInjected(6, 5000)) << "three passes while held";
    ASSERT_TRUE(rig.Release(2));
    const auto events = rig.Recorder().WaitUntilQuiet(400, 5000);
    ASSERT_GE(events.size(), 6u);
    EXPECT_EQ(events.size() % 2, 0u) << "passes end whole:\n" << Dump(events);
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(events[i].Brief(), std::string("key vk=0x41 ext=1 up=") + (i % 2 ? "1" : "0")) << i;
    // Stopped: another press starts it again, and its release stops it again.
    ASSERT_TRUE(rig.Press(2));
    ASSERT_TRUE(rig.Recorder().WaitForInjected(events.size() + 2, 5000));
    ASSERT_TRUE(rig.Release(2));
    EXPECT_EQ(rig.Recorder().WaitUntilQuiet(400, 5000).size() % 2, 0u);
    EXPECT_TRUE(rig.CloseService());
}

// A top-level window of a given class under the pointer, on a thread of
// this process that serves its messages.
class WindowUnderPointer {
public:
    explicit WindowUnderPointer(const std::wstring& className) : className_(className) {
        thread_ = std::thread([this] { Run(); });
        WaitForWindow();
    }
    ~WindowUnderPointer() {
        WaitForWindow();
        if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (thread_.joinable()) thread_.join();
        UnregisterClassW(className_.c_str(), GetModuleHandleW(nullptr));
    }
    HWND Window() const { return window_; }

private:
    void WaitForWindow() const {
        const DWORD start = GetTickCount();
        while (window_ == nullptr && !failed_ && GetTickCount() - start < 60000) Sleep(10);
    }
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    void Run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className_.c_str();
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(WS_EX_TOPMOST, className_.c_str(), L"zoom target", WS_POPUP | WS_VISIBLE, 400,
                                      300, 480, 400, nullptr, nullptr, wc.hInstance, nullptr);
        if (window == nullptr) {
            failed_ = true;
            return;
        }
        SetCursorPos(640, 500);
        window_ = window;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }
    std::wstring className_;
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> failed_{false};
};

struct ZoomCase {
    const wchar_t* className;
    std::vector<std::string> zoomIn;
    std::vector<std::string> zoomOut;
};

void PrintTo(const ZoomCase& zoom, std::ostream* out) {
    for (const wchar_t* c = zoom.className; *c; ++c) *out << static_cast<char>(*c);
}

class ZoomE2E : public ActionsE2E, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(ZoomE2E, ZoomOverARecognisedWindowSendsItsGesture) {
    const ZoomCase& zoom = GetParam();
    WindowUnderPointer target(zoom.className);
    ASSERT_NE(target.Window(), nullptr);
    POINT cursor{};
    GetCursorPos(&cursor);
    ASSERT_EQ(WindowFromPoint(cursor), target.Window());
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Control("report 03 f4"));
    std::vector<RecordedInput> events = Settled(zoom.zoomIn.size());
    EXPECT_EQ(Briefs(events), zoom.zoomIn) << Dump(events);
    ASSERT_TRUE(rig.Control("report 03 f5"));
    events = Settled(zoom.zoomIn.size() + zoom.zoomOut.size());
    std::vector<std::string> both = zoom.zoomIn;
    both.insert(both.end(), zoom.zoomOut.begin(), zoom.zoomOut.end());
    EXPECT_EQ(Briefs(events), both) << Dump(events);
    EXPECT_TRUE(rig.CloseService());
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ZoomE2E,
    ::testing::Values(ZoomCase{L"EXCEL7",
                               {"key vk=0xa2 ext=0 up=0", "mouse msg=0x20a high=120", "key vk=0xa2 ext=0 up=1"},
                               {"key vk=0xa2 ext=0 up=0", "mouse msg=0x20a high=-120", "key vk=0xa2 ext=0 up=1"}},
                      ZoomCase{L"ImageViewWndClass",
                               {"key vk=0x6b ext=0 up=0", "key vk=0x6b ext=0 up=1"},
                               {"key vk=0x6d ext=0 up=0", "key vk=0x6d ext=0 up=1"}},
                      ZoomCase{L"Photos_PhotoCanvas", {"mouse msg=0x20a high=120"}, {"mouse msg=0x20a high=-120"}},
                      ZoomCase{L"SomeOtherClass", {}, {}}),
    [](const auto& info) {
        std::string name;
        for (const wchar_t* c = info.param.className; *c; ++c) name += static_cast<char>(*c);
        return name;
    });

// Lines of the stand-in program's log: one per start, with its show command.
std::vector<std::string> Launches(const std::wstring& folder) {
    std::vector<std::string> shows;
    for (const auto& line : LogLines(folder + L"\\launchmarker.log")) {
        const auto at = line.find(" started ");
        if (at != std::string::npos) shows.push_back(line.substr(at + 9));
    }
    return shows;
}

bool WaitForLaunches(const std::wstring& folder, std::size_t count) {
    const DWORD start = GetTickCount();
    while (Launches(folder).size() < count) {
        if (GetTickCount() - start > 10000) return false;
        Sleep(20);
    }
    return true;
}

TEST_F(ActionsE2E, LaunchReportsAndTheLaunchFunctionStartTheAssignedProgram) {
    const std::wstring program = rig.Folder() + L"\\launchmarker.exe";
    rig.Assign({{4, 47, 0, 0, {}, program}, {6, 47, 0, 0, {}, program}});
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Control("report 03 f6 04"));  // function report: launch button 5's program
    ASSERT_TRUE(WaitForLaunches(rig.Folder(), 1));
    ASSERT_TRUE(rig.Control("report 00 07 a3 19 5d 10 16 06 00"));  // launch request for button 7
    ASSERT_TRUE(WaitForLaunches(rig.Folder(), 2));
    ASSERT_TRUE(rig.Press(4));  // the launch function, on press
    ASSERT_TRUE(WaitForLaunches(rig.Folder(), 3));
    ASSERT_TRUE(rig.Release(4));
    Sleep(500);
    // The reports open with SW_SHOW, the button function with SW_SHOWNORMAL.
    EXPECT_EQ(Launches(rig.Folder()), (std::vector<std::string>{"show=5", "show=5", "show=1"}));
    EXPECT_TRUE(rig.Recorder().Injected().empty());
    EXPECT_TRUE(rig.CloseService());
}

}  // namespace
