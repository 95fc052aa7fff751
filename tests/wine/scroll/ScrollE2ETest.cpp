// Sideways scrolling end to end: the installed service receives the
// simulated mouse's horizontal scroll reports (03 F2 to the left, 03 F3 to
// the right) while the window-tree fixture's windows lie under the pointer;
// the fixture logs what each window receives and the input recorder sees
// what was injected. Every step is L wide, L being the system's
// wheel-scroll-characters value, set here to something other than its
// default.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hidsim/win32/ControlChannel.h"
#include "tests/wine/harness/ServiceHarness.h"
#include "tests/wine/scroll/InputRecording.h"
#include "tests/wine/scroll/WindowTreeRun.h"

namespace {

using namespace e2e;
using Lines = std::vector<std::string>;

constexpr UINT kWantedScrollChars = 4;
constexpr DWORD kHandledTimeoutMs = 20000;
// The default profile: button 1 is the left button, button 7 steps the
// resolution stage up (which only talks to the mouse).
constexpr int kLeftButtonIndex = 0;
constexpr int kStageUpButtonIndex = 6;

constexpr unsigned kTopStyle = WS_POPUP | WS_VISIBLE;
constexpr unsigned kChildStyle = WS_CHILD | WS_VISIBLE;

std::string WindowLine(const char* name, const char* parent, unsigned style, RECT r, const char* className,
                       const char* kind = "window") {
    char line[256];
    std::snprintf(line, sizeof line, "%s %s %s 0x%x %ld %ld %ld %ld %s\n", kind, name, parent, style, r.left, r.top,
                  r.right, r.bottom, className);
    return line;
}

std::string PointerLine(LONG x, LONG y) { return "pointer " + std::to_string(x) + " " + std::to_string(y) + "\n"; }

Lines Repeat(UINT times, const Lines& lines) {
    Lines all;
    for (UINT i = 0; i < times; ++i) all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Lines WithSent(const Lines& messages, bool sent) {
    Lines chosen;
    for (const auto& m : messages)
        if (m.size() >= 6 && m.compare(m.size() - 6, 6, sent ? "sent=1" : "sent=0") == 0) chosen.push_back(m);
    return chosen;
}

std::string Message(UINT message, unsigned long long wParam, unsigned long long lParam, bool sent) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", message);
    return std::string("msg=") + code + " wParam=" + HexText(wParam) + " lParam=" + HexText(lParam) +
           " sent=" + (sent ? "1" : "0");
}

std::string Field(const std::string& line, const std::string& key) {
    const auto at = line.find(" " + key + "=");
    if (at == std::string::npos) return std::string();
    const auto start = at + key.size() + 2;
    return line.substr(start, line.find(' ', start) - start);
}

class ScrollE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set";
        CloseStragglers();
        RemoveTree(DataFolder());
        folder = MakeInstallCopy();
        pipe = L"HidSimScrollE2E-" + std::to_wstring(GetCurrentProcessId());
        SetEnvironmentVariableW(L"HIDSIM_PIPE", pipe.c_str());
        SetEnvironmentVariableW(L"HIDSIM_LOG", nullptr);
        SetEnvironmentVariableW(L"HIDSIM_UNPLUGGED", nullptr);
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &savedScrollChars, 0));
        SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, kWantedScrollChars, nullptr, 0);
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &L, 0));
        ASSERT_EQ(L, kWantedScrollChars) << "the wheel-scroll-characters setting could not be changed";
    }
    void TearDown() override {
        // The fixture first: a service held up by its hung window is let go.
        tree.Kill();
        recorder.Kill();
        if (service.process.handle != nullptr) CloseService(service);
        CloseStragglers();
        SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, savedScrollChars, nullptr, 0);
        SetEnvironmentVariableW(L"HIDSIM_PIPE", nullptr);
        RemoveTree(folder);
    }

    // The fixture's windows, the input recorder, then the service.
    void Begin(const std::string& layout) {
        ASSERT_TRUE(tree.Start(folder, layout)) << "the window-tree fixture did not start";
        ASSERT_TRUE(recorder.Start(folder)) << "the input recorder did not start";
        service = StartService(folder);
        ASSERT_NE(service.window, nullptr);
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(service.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result));
    }

    static void Ask(const std::string& request, const std::string& expected = "ok\n") {
        std::string answer;
        ASSERT_TRUE(CallControlPipe(request, answer)) << request;
        ASSERT_EQ(answer, expected) << request;
    }

    // Returns once the service has handled every report sent before: a press
    // of the stage-up button comes after them on the same thread, and it
    // writes to the mouse.
    static void AwaitHandled() {
        ASSERT_NO_FATAL_FAILURE(Ask("clear-log"));
        ASSERT_NO_FATAL_FAILURE(Ask("press " + std::to_string(kStageUpButtonIndex)));
        ASSERT_NO_FATAL_FAILURE(Ask("release " + std::to_string(kStageUpButtonIndex)));
        const DWORD start = GetTickCount();
        for (;;) {
            std::string answer;
            ASSERT_TRUE(CallControlPipe("log", answer));
            if (answer.rfind("ok\n", 0) == 0 && answer.size() > 3) return;
            ASSERT_LT(GetTickCount() - start, kHandledTimeoutMs) << "the stage-up press was never handled";
            Sleep(20);
        }
    }

    // Sends each report, then waits until the service has handled them.
    static void Scroll(std::initializer_list<const char*> reports) {
        for (const char* report : reports) ASSERT_NO_FATAL_FAILURE(Ask(std::string("report ") + report));
        ASSERT_NO_FATAL_FAILURE(AwaitHandled());
    }

    // Stops the fixture and the recorder (their logs are then complete) and
    // closes the service.
    void Finish() {
        ASSERT_TRUE(tree.Stop()) << "the window-tree fixture did not stop cleanly";
        ASSERT_TRUE(recorder.Stop());
        ASSERT_TRUE(CloseService(service));
        service = RunningService{};
    }

    std::wstring folder;
    std::wstring pipe;
    UINT savedScrollChars = 0;
    UINT L = 0;
    WindowTreeRun tree;
    InputRecording recorder;
    RunningService service;
};

TEST_F(ScrollE2E, APlainWindowGetsLPostedStepsToTheLeftAndLSentStepsToTheRight) {
    const std::string layout =
        WindowLine("plain", "-", kTopStyle | WS_HSCROLL, RECT{300, 200, 900, 700}, "PlainView") + PointerLine(600, 400);
    ASSERT_NO_FATAL_FAILURE(Begin(layout));
    ASSERT_NO_FATAL_FAILURE(Scroll({"03 f2", "03 f3"}));
    ASSERT_NO_FATAL_FAILURE(Finish());
    const Lines messages = tree.Messages("plain");
    EXPECT_EQ(WithSent(messages, false), Repeat(L, {Message(WM_HSCROLL, SB_LINELEFT, 0, false)}));
    EXPECT_EQ(WithSent(messages, true), Repeat(L, {Message(WM_HSCROLL, SB_LINERIGHT, 0, true)}));
    EXPECT_EQ(messages.size(), 2u * L);
    EXPECT_EQ(recorder.Injected(), Lines{});
}

TEST_F(ScrollE2E, ADocumentWindowsBarChildMakesTheDocumentGetTheBarsScrollMessages) {
    const std::string layout =
        WindowLine("doc", "-", kTopStyle, RECT{300, 200, 900, 700}, "_WwG") +
        WindowLine("docbar", "doc", kChildStyle | SBS_HORZ, RECT{300, 683, 900, 700}, "ScrollBar") +
        PointerLine(600, 400);
    ASSERT_NO_FATAL_FAILURE(Begin(layout));
    ASSERT_NO_FATAL_FAILURE(Scroll({"03 f3", "03 f2"}));
    ASSERT_NO_FATAL_FAILURE(Finish());
    const auto bar = reinterpret_cast<ULONG_PTR>(tree.Handle("docbar"));
    ASSERT_NE(bar, 0u);
    EXPECT_EQ(tree.Messages("doc"), Join({Repeat(L, {Message(WM_HSCROLL, SB_LINERIGHT, bar, false)}),
                                          Repeat(L, {Message(WM_HSCROLL, SB_LINELEFT, bar, false)})}));
    EXPECT_EQ(tree.Messages("docbar"), Lines{});
    EXPECT_EQ(recorder.Injected(), Lines{});
}

TEST_F(ScrollE2E, ABrowserFramesChildMakesTheFrameGetArrowKeyMessages) {
    const std::string layout =
        WindowLine("frame", "-", kTopStyle, RECT{300, 200, 900, 700}, "MozillaWindowClass") +
        WindowLine("content", "frame", kChildStyle, RECT{300, 250, 900, 700}, "MozillaWindowClass") +
        PointerLine(600, 400);
    ASSERT_NO_FATAL_FAILURE(Begin(layout));
    ASSERT_NO_FATAL_FAILURE(Scroll({"03 f2", "03 f3"}));
    ASSERT_NO_FATAL_FAILURE(Finish());
    EXPECT_EQ(tree.Messages("frame"), Join({Repeat(L, {Message(WM_KEYDOWN, VK_LEFT, 0x014B0001, false),
                                                       Message(WM_KEYUP, VK_LEFT, 0xC14B0001, false)}),
                                            Repeat(L, {Message(WM_KEYDOWN, VK_RIGHT, 0x014D0001, false),
                                                       Message(WM_KEYUP, VK_RIGHT, 0xC14D0001, false)})}));
    EXPECT_EQ(tree.Messages("content"), Lines{});
    EXPECT_EQ(recorder.Injected(), Lines{});
}

// One request each way, each with a fresh service and fixture: under Wine
// the process whose window lies under a moved pointer reports the move late,
// so the pointer may pass through where the service put it before.
struct ArrowCase {
    const char* Name;
    const char* Report;
    int ClickX;   // in the bar: its left arrow, or its right arrow
    WPARAM Code;  // what the bar then tells its owner
};

void PrintTo(const ArrowCase& c, std::ostream* out) { *out << c.Name; }

class SpreadsheetE2E : public ScrollE2E, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(SpreadsheetE2E, ThePrimaryButtonClicksInsideTheBarsCornerAndThePointerReturns) {
    const ArrowCase& c = GetParam();
    const std::string layout =
        WindowLine("book", "-", kTopStyle, RECT{300, 200, 900, 700}, "XLMAIN") +
        WindowLine("sheet", "book", kChildStyle, RECT{310, 220, 890, 680}, "EXCEL7") +
        WindowLine("sheetbar", "sheet", kChildStyle | SBS_HORZ, RECT{330, 660, 870, 677}, "ScrollBar") +
        PointerLine(600, 400);
    ASSERT_NO_FATAL_FAILURE(Begin(layout));
    const RECT bar = tree.Rect("sheetbar");
    ASSERT_EQ((Lines{std::to_string(bar.left), std::to_string(bar.top), std::to_string(bar.right)}),
              (Lines{"330", "660", "870"}));
    ASSERT_EQ((Lines{std::to_string(tree.Pointer().x), std::to_string(tree.Pointer().y)}), (Lines{"600", "400"}));
    ASSERT_NO_FATAL_FAILURE(Scroll({c.Report}));
    // The pointer settles where it was before the clicks.
    POINT at{};
    const DWORD start = GetTickCount();
    while (GetCursorPos(&at) && (at.x != 600 || at.y != 400) && GetTickCount() - start < 5000) Sleep(20);
    EXPECT_EQ((Lines{std::to_string(at.x), std::to_string(at.y)}), (Lines{"600", "400"}))
        << "the pointer is not back where it was";
    ASSERT_NO_FATAL_FAILURE(Finish());

    const std::string x = std::to_string(bar.left + c.ClickX);
    EXPECT_EQ(recorder.Injected(),
              Repeat(L, {"mouse msg=0x201 x=" + x + " y=665", "mouse msg=0x202 x=" + x + " y=665"}));
    // The bar itself took each press at its arrow, 5 pixels below its top
    // (a second press in quick succession comes as a double click).
    Lines presses;
    for (const auto& m : tree.Messages("sheetbar")) {
        const std::string message = Field(" " + m, "msg");
        if (message == "0x0201" || message == "0x0203") presses.push_back(Field(m, "lParam"));
    }
    EXPECT_EQ(presses, Repeat(L, {HexText(MAKELPARAM(c.ClickX, 5))}));
    // And told the sheet, its owner, to scroll that way.
    const auto barHandle = reinterpret_cast<ULONG_PTR>(tree.Handle("sheetbar"));
    std::size_t steps = 0;
    for (const auto& m : tree.Messages("sheet")) steps += m == Message(WM_HSCROLL, c.Code, barHandle, false);
    EXPECT_GE(steps, L);
}

INSTANTIATE_TEST_SUITE_P(Arrow, SpreadsheetE2E,
                         ::testing::Values(ArrowCase{"Left", "03 f2", 5, SB_LINELEFT},
                                           ArrowCase{"Right", "03 f3", 870 - 330 - 5, SB_LINERIGHT}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct NothingCase {
    const char* Name;
    std::string Layout;
};

void PrintTo(const NothingCase& c, std::ostream* out) { *out << c.Name; }

class NothingIsSentE2E : public ScrollE2E, public ::testing::WithParamInterface<NothingCase> {};

TEST_P(NothingIsSentE2E, NoWindowGetsAMessageAndNoInputIsInjected) {
    ASSERT_NO_FATAL_FAILURE(Begin(GetParam().Layout));
    const POINT at = tree.Pointer();
    if (std::string(GetParam().Name) == "BareDesktop") {
        ASSERT_EQ(WindowFromPoint(at), GetDesktopWindow()) << "the pointer is over the bare desktop";
    }
    ASSERT_NO_FATAL_FAILURE(Scroll({"03 f2", "03 f3"}));
    ASSERT_NO_FATAL_FAILURE(Finish());
    EXPECT_EQ(tree.AllMessages(), Lines{});
    EXPECT_EQ(recorder.Injected(), Lines{});
}

INSTANTIATE_TEST_SUITE_P(
    Desktop, NothingIsSentE2E,
    ::testing::Values(
        // A window that would take plain messages lies elsewhere on the screen.
        NothingCase{"BareDesktop",
                    WindowLine("plain", "-", kTopStyle | WS_HSCROLL, RECT{300, 200, 900, 700}, "PlainView") +
                        PointerLine(1100, 900)},
        // The icons of the desktop, in a list that has a horizontal scroll bar.
        NothingCase{
            "DesktopIcons",
            WindowLine("progman", "-", kTopStyle, RECT{300, 200, 900, 700}, "Progman") +
                WindowLine("defview", "progman", kChildStyle, RECT{300, 200, 900, 700}, "SHELLDLL_DefView") +
                WindowLine("icons", "defview", kChildStyle | WS_HSCROLL, RECT{300, 200, 900, 700}, "SysListView32") +
                PointerLine(600, 400)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ScrollE2E, AHungTargetDoesNotHoldUpTheNextButtonEvent) {
    const std::string layout =
        WindowLine("frozen", "-", kTopStyle | WS_HSCROLL, RECT{300, 200, 900, 700}, "PlainView", "hung") +
        PointerLine(600, 400);
    ASSERT_NO_FATAL_FAILURE(Begin(layout));
    HWND frozen = tree.Handle("frozen");
    ASSERT_NE(frozen, nullptr);
    ASSERT_NO_FATAL_FAILURE(Ask("report 03 f3"));  // sent to the right
    ASSERT_NO_FATAL_FAILURE(Ask("press " + std::to_string(kLeftButtonIndex)));
    ASSERT_NO_FATAL_FAILURE(Ask("release " + std::to_string(kLeftButtonIndex)));
    // The press is injected while the target is still hung.
    EXPECT_TRUE(recorder.WaitForInjected(2, kHandledTimeoutMs)) << "the button press was held up";
    DWORD_PTR result = 0;
    EXPECT_EQ(SendMessageTimeoutW(frozen, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result), 0)
        << "the target answered: it was not hung";
    ASSERT_NO_FATAL_FAILURE(Finish());
    EXPECT_EQ(recorder.Injected(), (Lines{"mouse msg=0x201 x=600 y=400", "mouse msg=0x202 x=600 y=400"}));
}

}  // namespace
