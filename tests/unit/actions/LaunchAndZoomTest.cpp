// The launch the mouse asks for directly, and the zoom gestures by the class
// of the window under the pointer.
#include <gtest/gtest.h>

#include "actions/ProgramLaunch.h"
#include "actions/ZoomActions.h"
#include "ActionTestSupport.h"

namespace {

using acttest::ActionTest;
using acttest::ExpectSequence;
using acttest::FakeWindowTree;
using acttest::KeyLine;
using acttest::MouseLine;

class LaunchAndZoomTest : public ActionTest {};

TEST_F(LaunchAndZoomTest, LaunchAssignedProgramOpensTheActiveProfilesPathShownWithoutRereading) {
    host.Working().Profile = 2;
    CopyTextToField(u"C:\\Docs\\plan.pdf", host.Working().Profiles[2].Buttons[5].Path, kPathLength);
    CopyTextToField(u"C:\\other.exe", host.File().Profiles[2].Buttons[5].Path, kPathLength);
    LaunchAssignedProgram(host, 5);
    const auto launches = fake.shell.ShellExecutes();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].owner, nullptr);
    EXPECT_EQ(launches[0].verb, u"open");
    EXPECT_EQ(launches[0].file, u"C:\\Docs\\plan.pdf");
    EXPECT_EQ(launches[0].parameters, u"");
    EXPECT_EQ(launches[0].directory, u"");
    EXPECT_EQ(launches[0].show, SW_SHOW);
    EXPECT_TRUE(host.journal.empty());  // no reload
    EXPECT_TRUE(windows.journal.empty());  // no foreground hand-over
}

TEST_F(LaunchAndZoomTest, LaunchAssignedProgramIgnoresIndicesOutsideZeroToNine) {
    for (int button : {10, -1, 1000}) LaunchAssignedProgram(host, button);
    EXPECT_TRUE(fake.shell.ShellExecutes().empty());
}

TEST_F(LaunchAndZoomTest, LaunchAssignedProgramReadsAPathThatFillsItsFieldNoFurther) {
    ButtonAssignment& button = host.Working().Profiles[0].Buttons[0];
    for (char16_t& unit : button.Path) unit = u'x';  // no terminator
    LaunchAssignedProgram(host, 0);
    ASSERT_EQ(fake.shell.ShellExecutes().size(), 1u);
    EXPECT_EQ(fake.shell.ShellExecutes()[0].file.size(), kPathLength);
}

// Any device can send launch reports as fast as it likes: one launch per
// button within the guard time, each button on its own, and a launch again
// once the guard time has passed.
TEST_F(LaunchAndZoomTest, LaunchReportsInAFloodOpenTheProgramOncePerButton) {
    CopyTextToField(u"C:\\a.exe", host.Working().Profiles[0].Buttons[1].Path, kPathLength);
    CopyTextToField(u"C:\\b.exe", host.Working().Profiles[0].Buttons[2].Path, kPathLength);
    for (int i = 0; i < 20; ++i) {
        LaunchAssignedProgram(host, 1);
        LaunchAssignedProgram(host, 2);
        fake.AdvanceClock(kLaunchRepeatGuardMs / 20);
    }
    fake.AdvanceClock(kLaunchRepeatGuardMs);
    LaunchAssignedProgram(host, 1);
    std::vector<std::u16string> opened;
    for (const auto& launch : fake.shell.ShellExecutes()) opened.push_back(launch.file);
    EXPECT_EQ(opened, (std::vector<std::u16string>{u"C:\\a.exe", u"C:\\b.exe", u"C:\\a.exe"}));
}

constexpr int kCtrl = 0xA2;

std::vector<std::string> ControlWheel(int delta) {
    return {KeyLine(0, kCtrl, 0), MouseLine(100, 0x8800, delta, 0, false), KeyLine(200, kCtrl, 2)};
}
std::vector<std::string> ControlKey(int vk) {
    return {KeyLine(0, kCtrl, 0), KeyLine(100, vk, 0), KeyLine(200, vk, 2), KeyLine(300, kCtrl, 2)};
}

struct ZoomCase {
    const char16_t* window;
    const char16_t* parent;
    const char16_t* grandparent;
    std::vector<std::string> zoomIn;
    std::vector<std::string> zoomOut;
};

const ZoomCase kZoomCases[] = {
    {u"_WwG", u"", u"", ControlWheel(120), ControlWheel(-120)},
    {u"paneClassDC", u"", u"", ControlWheel(120), ControlWheel(-120)},
    {u"VISIOG", u"", u"", ControlWheel(120), ControlWheel(-120)},
    {u"PSViewC", u"", u"", ControlWheel(120), ControlWheel(-120)},
    {u"EditControl", u"", u"", ControlWheel(120), ControlWheel(-120)},
    {u"FrontPageEditorDocumentView", u"", u"", ControlWheel(120), ControlWheel(-120)},
    {u"EXCEL7", u"XLDESK", u"XLMAIN", ControlWheel(120), ControlWheel(-120)},
    // The tabbed browser's grandparent decides the direction of the wheel.
    {u"Internet Explorer_Server", u"Shell DocObject View", u"TabWindowClass", ControlWheel(120),
     ControlWheel(-120)},
    {u"Internet Explorer_Server", u"Shell DocObject View", u"HelpFrame", ControlWheel(-120),
     ControlWheel(120)},
    {u"Internet Explorer_Server", u"TabWindowClass", u"", ControlWheel(-120), ControlWheel(120)},
    {u"ImageViewWndClass", u"", u"",
     {KeyLine(0, 0x6B, 0), KeyLine(100, 0x6B, 2)}, {KeyLine(0, 0x6D, 0), KeyLine(100, 0x6D, 2)}},
    {u"AfxWnd42s", u"", u"", ControlKey(0x6B), ControlKey(0x6D)},
    {u"AVL_AVView", u"", u"", ControlKey(0x6B), ControlKey(0x6D)},
    {u"MSPaintView", u"", u"", ControlKey(0x21), ControlKey(0x22)},
    // A long class name is looked at again as its parent's class.
    {u"Afx:00400000:8:00010003:0", u"MSPaintView", u"", ControlKey(0x21), ControlKey(0x22)},
    {u"Afx:00400000:8", u"MSPaintView", u"", {}, {}},
    {u"Photos_PhotoCanvas", u"", u"",
     {MouseLine(0, 0x8800, 120, 0, false)}, {MouseLine(0, 0x8800, -120, 0, false)}},
    {u"ShImgVw:CPreviewWnd", u"", u"",
     {MouseLine(0, 0x8800, 120, 0, false)}, {MouseLine(0, 0x8800, -120, 0, false)}},
    // The photo viewer's parent.
    {u"ShImgVw:CZoomWnd", u"ShImgVw:CPreviewWnd", u"",
     {MouseLine(0, 0x8800, 120, 0, false)}, {MouseLine(0, 0x8800, -120, 0, false)}},
    {u"Progman", u"", u"", {}, {}},
    {u"SysListView32", u"SHELLDLL_DefView", u"Progman", {}, {}},
    {u"excel7", u"", u"", {}, {}},  // class names compare case-sensitively
    {u"EXCEL", u"", u"", {}, {}},
};

TEST_F(LaunchAndZoomTest, ZoomSendsTheGestureOfTheRecognisedClassAtHundredMillisecondSteps) {
    int index = 0;
    for (const ZoomCase& c : kZoomCases) {
        for (bool in : {true, false}) {
            SCOPED_TRACE("case " + std::to_string(index) + (in ? " ZoomIn" : " ZoomOut"));
            FakePlatform clean;  // a fresh clock for each gesture
            Platform withInput{clean.kernel, clean.windows, clean.files, clean.shell, input, clock, clean.graphics};
            SetPlatform(&withInput);
            input.SetClock([&clean] { return clean.Now(); });
            input.Clear();
            FakeWindowTree tree;
            const HWND grandparent = *c.grandparent ? tree.Add(c.grandparent) : nullptr;
            const HWND parent = *c.parent ? tree.Add(c.parent, grandparent) : nullptr;
            tree.underPointer = tree.Add(c.window, parent);
            input.SetCursor(POINT{640, 400});
            if (in)
                ZoomIn(tree);
            else
                ZoomOut(tree);
            ExpectSequence(in ? c.zoomIn : c.zoomOut, input.Lines());
            EXPECT_EQ(tree.lastPoint.x, 640);
            EXPECT_EQ(tree.lastPoint.y, 400);
            EXPECT_EQ(input.ExtraInfoQueries(), 0);
        }
        ++index;
    }
    SetPlatform(&fake);
}

TEST_F(LaunchAndZoomTest, NoWindowUnderThePointerOrNoPointerPositionSendsNothing) {
    windows.underPointer = nullptr;
    ZoomIn(windows);
    ZoomOut(windows);
    windows.underPointer = windows.Add(u"EXCEL7");
    input.SetCursor(POINT{1, 1}, false);
    ZoomIn(windows);
    EXPECT_TRUE(input.Lines().empty());
    EXPECT_EQ(fake.Now(), 0u);
}

TEST_F(LaunchAndZoomTest, ClassMatchingSetsEveryGroupThatTheRelativesAnswerTo) {
    // An embedded browser whose grandparent is the paint view matches both;
    // the browser's gesture wins.
    const HWND paint = windows.Add(u"MSPaintView");
    const HWND frame = windows.Add(u"Shell DocObject View", paint);
    const HWND server = windows.Add(u"Internet Explorer_Server", frame);
    const ZoomMatches matches = MatchZoomClasses(windows, server);
    EXPECT_TRUE(matches.Browser);
    EXPECT_TRUE(matches.PaintView);
    EXPECT_FALSE(matches.TabbedBrowser);
    EXPECT_EQ(ChooseZoomGroup(matches), ZoomGroup::Browser);
}

}  // namespace
