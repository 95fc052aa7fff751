// The whole road of a horizontal scroll request on the host: the simulated
// mouse's function report (03 F2 to the left, 03 F3 to the right) on its
// library thread, the main window's input handling with the system's
// wheel-scroll-characters value, the mouse action, and what the windows of
// other programs under the pointer receive, as exact sequences.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MursohidDlg.h"
#include "config/DataFolder.h"
#include "config/SettingsFile.h"
#include "config/SettingsFileAccess.h"
#include "hidsim/host/SimulatedMouse.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/ProcessReset.h"
#include "tests/support/SettingsSamples.h"

namespace {

constexpr UINT kScrollChars = 4;  // the system's wheel-scroll-characters value
const std::vector<std::uint8_t> kScrollLeft{0x03, 0xF2};
const std::vector<std::uint8_t> kScrollRight{0x03, 0xF3};

std::string Hex(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

// "<time> <message> <wParam> <lParam>", the time from `origin`.
std::vector<std::string> Lines(const std::vector<FakeMessage>& messages, std::uint64_t origin) {
    std::vector<std::string> lines;
    for (const auto& m : messages)
        lines.push_back(std::to_string(m.time - origin) + " " + Hex(m.message) + " " + Hex(m.wParam) + " " +
                        Hex(static_cast<unsigned long long>(m.lParam)));
    return lines;
}

std::vector<std::string> Repeat(UINT times, const std::vector<std::string>& lines) {
    std::vector<std::string> all;
    for (UINT i = 0; i < times; ++i) all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string Handle(HWND window) { return Hex(reinterpret_cast<std::uintptr_t>(window)); }

class ScrollPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        fake.windows.SetWheelScrollChars(kScrollChars);
        window = new CMursohidDlg;
        ASSERT_TRUE(window->CreateServiceWindow());
    }
    void TearDown() override {
        mouse->WaitUntilDelivered();
        fake.windows.WaitUntilThreadsIdle();
        window->DestroyWindow();
        delete window;
        EXPECT_TRUE(fake.Hangs().empty());
        fake.kernel.StopThreads();
        SetPlatform(nullptr);
    }

    HWND Add(const Text& className, DWORD style, RECT rect, HWND parent = nullptr) {
        return fake.windows.AddWindow(
            FakeWindowSpec{className, u"", style | WS_VISIBLE | (parent ? WS_CHILD : 0u), rect, parent});
    }
    // A report from the mouse, handled in full before the test goes on.
    void Report(const std::vector<std::uint8_t>& report) {
        ASSERT_TRUE(mouse->SendInputReport(report));
        mouse->WaitUntilDelivered();
    }
    // Messages to a window of another program since the test began.
    std::vector<std::string> Posted(HWND to) { return Lines(fake.windows.PostedTo(to), start); }
    std::vector<std::string> Sent(HWND to) { return Lines(fake.windows.SentTo(to), start); }
    // Injected input and pointer moves: "<time> mouse flags=0x2 ...", the time from `start`.
    std::vector<std::string> Input() {
        std::vector<std::string> lines;
        for (const auto& e : fake.input.Events()) {
            const std::string line = FakeInput::Line(e);
            lines.push_back(std::to_string(e.time - start) + line.substr(line.find(' ')));
        }
        return lines;
    }

    FakePlatform fake;
    SimulatedMouse mouse{fake};
    CMursohidDlg* window = nullptr;
    std::uint64_t start = 0;
};

TEST_F(ScrollPathTest, APlainWindowGetsPostedStepsToTheLeftAndSentStepsToTheRight) {
    HWND plain = Add(u"PlainView", WS_HSCROLL, RECT{100, 100, 700, 500});
    fake.input.SetCursor(POINT{400, 300});
    start = fake.Now();
    Report(kScrollLeft);
    Report(kScrollRight);
    EXPECT_EQ(Posted(plain), Repeat(kScrollChars, {"0 0x114 0x0 0x0"}));
    EXPECT_EQ(Sent(plain), Repeat(kScrollChars, {"0 0x114 0x1 0x0"}));
    EXPECT_TRUE(fake.input.Events().empty());
}

TEST_F(ScrollPathTest, ADocumentWindowsBarChildMakesItsParentGetTheBarsMessages) {
    HWND doc = Add(u"_WwG", 0, RECT{100, 100, 700, 500});
    HWND bar = Add(u"ScrollBar", 0, RECT{100, 483, 700, 500}, doc);
    fake.input.SetCursor(POINT{400, 300});
    start = fake.Now();
    Report(kScrollRight);
    Report(kScrollLeft);
    EXPECT_EQ(Posted(doc), Join({Repeat(kScrollChars, {"0 0x114 0x1 " + Handle(bar)}),
                                 Repeat(kScrollChars, {"0 0x114 0x0 " + Handle(bar)})}));
    EXPECT_TRUE(Posted(bar).empty());
    EXPECT_TRUE(Sent(doc).empty());
}

TEST_F(ScrollPathTest, ABrowserFramesChildMakesTheFrameGetArrowKeys) {
    HWND frame = Add(u"MozillaWindowClass", 0, RECT{100, 100, 700, 500});
    HWND content = Add(u"MozillaWindowClass", 0, RECT{100, 150, 700, 500}, frame);
    fake.input.SetCursor(POINT{400, 300});
    start = fake.Now();
    Report(kScrollLeft);
    Report(kScrollRight);
    EXPECT_EQ(Posted(frame), Join({Repeat(kScrollChars, {"0 0x100 0x25 0x14b0001", "0 0x101 0x25 0xc14b0001"}),
                                   Repeat(kScrollChars, {"0 0x100 0x27 0x14d0001", "0 0x101 0x27 0xc14d0001"})}));
    EXPECT_TRUE(Posted(content).empty());
}

TEST_F(ScrollPathTest, OverASpreadsheetThePrimaryButtonClicksInsideTheBarsCornerAndThePointerReturns) {
    HWND book = Add(u"XLMAIN", 0, RECT{100, 100, 700, 500});
    HWND sheet = Add(u"EXCEL7", 0, RECT{110, 120, 690, 490}, book);
    Add(u"ScrollBar", 0, RECT{130, 470, 670, 487}, sheet);
    fake.input.SetCursor(POINT{400, 300});
    start = fake.Now();
    Report(kScrollLeft);
    Report(kScrollRight);
    const std::vector<std::string> left = {"0 mouse flags=0x8002 dx=135 dy=475 data=0 extra=0x0",
                                           "0 mouse flags=0x8004 dx=135 dy=475 data=0 extra=0x0"};
    const std::vector<std::string> right = {"0 mouse flags=0x8002 dx=665 dy=475 data=0 extra=0x0",
                                            "0 mouse flags=0x8004 dx=665 dy=475 data=0 extra=0x0"};
    EXPECT_EQ(Input(), Join({{"0 cursor 135,475"},
                             Repeat(kScrollChars, left),
                             {"0 cursor 400,300", "0 cursor 665,475"},
                             Repeat(kScrollChars, right),
                             {"0 cursor 400,300"}}));
}

TEST_F(ScrollPathTest, OverTheDesktopAndItsIconsNothingIsSent) {
    HWND progman = Add(u"Progman", 0, RECT{0, 0, 800, 600});
    HWND view = Add(u"SHELLDLL_DefView", 0, RECT{0, 0, 800, 600}, progman);
    HWND icons = Add(u"SysListView32", WS_HSCROLL, RECT{0, 0, 800, 600}, view);
    for (POINT at : {POINT{400, 300}, POINT{900, 700}}) {  // an icon, the bare desktop
        fake.input.SetCursor(at);
        Report(kScrollLeft);
        Report(kScrollRight);
    }
    for (HWND w : {progman, view, icons}) {
        EXPECT_TRUE(Posted(w).empty());
        EXPECT_TRUE(Sent(w).empty());
    }
    EXPECT_TRUE(fake.input.Events().empty());
}

TEST_F(ScrollPathTest, AHungTargetCostsOneBoundedWaitAndTheNextButtonPressStillInjects) {
    ServiceSettings settings = samples::DefaultSettings();
    settings.Profiles[0].Buttons[0].ButtonFunc = 1;  // left button
    auto file = std::make_unique<PortableIniFile>(DataFolder() + u"config.ini");
    WriteProfileSlot(*file, 0, settings.Profiles[0]);
    file.reset();
    HWND frozen = Add(u"PlainView", WS_HSCROLL, RECT{100, 100, 700, 500});
    fake.windows.SetHung(frozen, true);
    fake.input.SetCursor(POINT{400, 300});
    start = fake.Now();
    Report(kScrollRight);
    ASSERT_TRUE(mouse->PressButton(0));
    ASSERT_TRUE(mouse->ReleaseButton(0));
    mouse->WaitUntilDelivered();
    // The first unanswered step ends the request after the send's time-out.
    EXPECT_EQ(Sent(frozen), std::vector<std::string>{"0 0x114 0x1 0x0"});
    EXPECT_EQ(Input(), (std::vector<std::string>{"200 mouse flags=0x2 dx=0 dy=0 data=0 extra=0xE001 fresh",
                                                 "200 mouse flags=0x4 dx=0 dy=0 data=0 extra=0xE002 fresh"}));
}

}  // namespace
