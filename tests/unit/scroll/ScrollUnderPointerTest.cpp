// One horizontal scroll request from the mouse, from the pointer to what the
// window under it receives, as exact call sequences.
#include <gtest/gtest.h>

#include <climits>

#include "ScrollRig.h"
#include "scroll/ScrollDelivery.h"
#include "scroll/ScrollUnderPointer.h"

namespace {

using scrolltest::SameCalls;
using scrolltest::ScrollRig;
using scrolltest::WindowSpec;
using Calls = std::vector<std::string>;

WindowSpec W(std::string name, std::string parent, Text className, DWORD style, LONG l, LONG t, LONG r, LONG b) {
    return WindowSpec{std::move(name), std::move(parent), std::move(className), style, RECT{l, t, r, b}};
}

constexpr DWORD HS = WS_HSCROLL;

// A spreadsheet: the sheet window holds its horizontal scroll bar.
std::vector<WindowSpec> Spreadsheet() {
    return {W("book", "", u"XLMAIN", 0, 0, 0, 1000, 800), W("sheet", "book", u"EXCEL7", 0, 10, 20, 810, 620),
            W("sheetbar", "sheet", u"ScrollBar", 0, 110, 600, 790, 617)};
}

// A word processor: the document view with its horizontal scroll bar beside it.
std::vector<WindowSpec> WordProcessor() {
    return {W("docframe", "", u"OpusApp", 0, 0, 0, 1000, 800), W("doc", "docframe", u"_WwG", 0, 0, 0, 1000, 780),
            W("docbar", "docframe", u"ScrollBar", 0, 0, 780, 1000, 797)};
}

std::vector<WindowSpec> BrowserFrameWithContent() {
    return {W("moz", "", u"MozillaWindowClass", 0, 0, 0, 1000, 800),
            W("content", "moz", u"MozillaWindowClass", 0, 0, 80, 1000, 800)};
}

std::vector<WindowSpec> BrowserView() {
    return {W("shell", "", u"Shell DocObject View", 0, 0, 0, 1000, 800),
            W("view", "shell", u"Internet Explorer_Server", 0, 0, 0, 1000, 800)};
}

std::vector<WindowSpec> PlainWindow() { return {W("plain", "", u"PlainView", HS, 0, 0, 1000, 800)}; }

std::vector<WindowSpec> Desktop() {
    return {W("progman", "", u"Progman", 0, 0, 0, 1000, 800), W("defview", "progman", u"SHELLDLL_DefView", 0, 0, 0, 1000, 800),
            W("icons", "defview", u"SysListView32", HS, 0, 0, 1000, 800)};
}

Calls Repeat(int times, const Calls& calls) {
    Calls all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), calls.begin(), calls.end());
    return all;
}

Calls Join(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string kSendRight = "Send plain WM_HSCROLL 0x1 0x0 flags=0x2 timeout=200";

// One browser step as it goes when everything answers; `scroll` is the
// scrollBy call, `fallback` what follows it.
Calls BrowserStep(const std::string& scroll, const Calls& fallback = {}) {
    return Join({{"CoInitialize", "LoadLibraryW OLEACC.DLL", "RegisterWindowMessageW WM_HTML_GETOBJECT",
                  "Send view 0xc0de 0x0 0x0 flags=0x2 timeout=1000", "ObjectFromLresult library 0x5150",
                  "get_Script document", "QueryInterface IHTMLWindow2 script", scroll},
                 fallback,
                 {"Release window", "Release script", "Release document", "FreeLibrary library", "CoUninitialize"}});
}

struct RequestCase {
    const char* What;
    std::vector<WindowSpec> Tree;
    POINT Pointer;
    int Count;
    Calls Expected;
};

const RequestCase kRequestCases[] = {
    {"desktop icon", Desktop(), {50, 50}, 3, {}},
    {"bare desktop", PlainWindow(), {2000, 50}, 3, {}},
    {"count 0 over a window that would scroll", PlainWindow(), {50, 50}, 0, {}},
    {"count 3 over a spreadsheet: arrow clicks on the bar's left arrow",
     Spreadsheet(),
     {400, 300},
     3,
     Join({{"SetCursorPos 115,605"},
           Repeat(3, {"mouse_event 0x8002 115,605 data=0 extra=0", "mouse_event 0x8004 115,605 data=0 extra=0"}),
           {"SetCursorPos 400,300"}})},
    {"count -1 over a spreadsheet: the right arrow",
     Spreadsheet(),
     {400, 300},
     -1,
     {"SetCursorPos 785,605", "mouse_event 0x8002 785,605 data=0 extra=0", "mouse_event 0x8004 785,605 data=0 extra=0",
      "SetCursorPos 400,300"}},
    {"spreadsheet whose bar ends left of the pointer", Spreadsheet(), {795, 300}, 3, {}},
    {"count -2 over a word processor: scroll-bar messages to the bar's owner",
     WordProcessor(),
     {500, 400},
     -2,
     Repeat(2, {"Post docframe WM_HSCROLL 0x1 docbar"})},
    {"count 4 over a word processor",
     WordProcessor(),
     {500, 400},
     4,
     Repeat(4, {"Post docframe WM_HSCROLL 0x0 docbar"})},
    {"scroll-bar message class whose target has no owner",
     {W("doc", "", u"_WwG", HS, 0, 0, 1000, 800)},
     {500, 400},
     2,
     {}},
    {"count 1 over a browser's content window: left arrow key to its frame",
     BrowserFrameWithContent(),
     {500, 400},
     1,
     {"Post moz WM_KEYDOWN 0x25 0x14b0001", "Post moz WM_KEYUP 0x25 0xc14b0001"}},
    {"count -2 over a browser's content window: right arrow keys",
     BrowserFrameWithContent(),
     {500, 400},
     -2,
     Repeat(2, {"Post moz WM_KEYDOWN 0x27 0x14d0001", "Post moz WM_KEYUP 0x27 0xc14d0001"})},
    {"top-level browser frame without a scroll bar",
     {W("moz", "", u"MozillaWindowClass", 0, 0, 0, 1000, 800)},
     {500, 400},
     1,
     {}},
    {"top-level browser frame with a horizontal bar child: keys to the bar",
     {W("moz", "", u"MozillaWindowClass", 0, 0, 0, 1000, 800), W("bar", "moz", u"ScrollBar", 0, 0, 780, 1000, 797)},
     {500, 400},
     1,
     {"Post bar WM_KEYDOWN 0x25 0x14b0001", "Post bar WM_KEYUP 0x25 0xc14b0001"}},
    {"count 2 over a plain window: posted to the left", PlainWindow(), {50, 50}, 2, Repeat(2, {"Post plain WM_HSCROLL 0x0 0x0"})},
    {"count -3 over a plain window: sent to the right, bounded", PlainWindow(), {50, 50}, -3, Repeat(3, {kSendRight})},
    {"plain message goes to the window under the pointer, not to the bar found for it",
     {W("frame", "", u"Frame", 0, 0, 0, 1000, 800), W("list", "frame", u"ListBox", 0, 0, 0, 1000, 780),
      W("bar", "frame", u"ScrollBar", 0, 0, 780, 1000, 797)},
     {500, 400},
     1,
     {"Post list WM_HSCROLL 0x0 0x0"}},
    {"plain window without a horizontal target", {W("plain", "", u"PlainView", 0, 0, 0, 1000, 800)}, {50, 50}, 2, {}},
    {"count 2 over a browser view: two browser steps", BrowserView(), {500, 400}, 2,
     Repeat(2, BrowserStep("scrollBy window -10,0"))},
    {"count -1 over a browser view", BrowserView(), {500, 400}, -1, BrowserStep("scrollBy window 10,0")},
    {"a very large count is cut to the most steps one request delivers", PlainWindow(), {50, 50}, 1000000,
     Repeat(scroll::kMaxScrollSteps, {"Post plain WM_HSCROLL 0x0 0x0"})},
    {"the most negative count", PlainWindow(), {50, 50}, INT_MIN, Repeat(scroll::kMaxScrollSteps, {kSendRight})},
};

class ScrollRequestTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ScrollRequestTest, DeliversTheExpectedCalls) {
    const RequestCase& c = kRequestCases[GetParam()];
    ScrollRig rig(c.Tree);
    rig.PointAt(c.Pointer.x, c.Pointer.y);
    rig.Sender.Answer = 0x5150;
    scroll::ScrollUnderPointer(rig.System(), c.Count);
    EXPECT_TRUE(SameCalls(c.Expected, rig.Calls)) << "case: " << c.What;
    EXPECT_EQ(rig.Sender.Cursor.x, c.Pointer.x) << "case: " << c.What;
    EXPECT_EQ(rig.Sender.Cursor.y, c.Pointer.y) << "case: " << c.What;
    EXPECT_EQ(rig.Browser.Outstanding, 0) << "case: " << c.What;
}

INSTANTIATE_TEST_SUITE_P(Requests, ScrollRequestTest,
                         ::testing::Range<std::size_t>(0, sizeof kRequestCases / sizeof kRequestCases[0]));

TEST(ScrollUnderPointerTest, SwappedButtonsClickWithTheRightButton) {
    ScrollRig rig(Spreadsheet());
    rig.PointAt(400, 300);
    rig.Sender.ButtonsSwapped = true;
    scroll::ScrollUnderPointer(rig.System(), 2);
    EXPECT_TRUE(SameCalls(Join({{"SetCursorPos 115,605"},
                                Repeat(2, {"mouse_event 0x8008 115,605 data=0 extra=0",
                                           "mouse_event 0x8010 115,605 data=0 extra=0"}),
                                {"SetCursorPos 400,300"}}),
                          rig.Calls));
}

TEST(ScrollUnderPointerTest, AHungWindowIsGivenUpOnAtTheFirstUnansweredSend) {
    ScrollRig rig(PlainWindow());
    rig.PointAt(50, 50);
    rig.Sender.SendsAnswered = 1;
    scroll::ScrollUnderPointer(rig.System(), -5);
    EXPECT_TRUE(SameCalls({kSendRight, kSendRight}, rig.Calls));
}

TEST(ScrollUnderPointerTest, NothingWhenThePointerCannotBeRead) {
    ScrollRig rig(PlainWindow());
    rig.PointAt(50, 50);
    rig.Sender.CursorKnown = false;
    scroll::ScrollUnderPointer(rig.System(), 3);
    EXPECT_TRUE(SameCalls({}, rig.Calls));
}

TEST(ScrollUnderPointerTest, AFailingScrollByFallsBackToScrollMessages) {
    ScrollRig rig(BrowserView());
    rig.PointAt(500, 400);
    rig.Sender.Answer = 0x5150;
    rig.Browser.ScrollResult = static_cast<HRESULT>(0x80004005u);
    scroll::ScrollUnderPointer(rig.System(), 2);
    const Calls step = BrowserStep("scrollBy window -10,0", {"Send view WM_HSCROLL 0x0 0x0 flags=0x2 timeout=200"});
    EXPECT_TRUE(SameCalls(Repeat(2, step), rig.Calls));
    EXPECT_EQ(rig.Browser.Outstanding, 0);
}

}  // namespace
