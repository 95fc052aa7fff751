// Finding the horizontal scroll target under the pointer, over window trees
// described as data.
#include <gtest/gtest.h>

#include "ScrollRig.h"
#include "scroll/FindScrollBar.h"

namespace {

using scrolltest::WindowSpec;
using scrolltest::WindowTree;

WindowSpec W(std::string name, std::string parent, Text className, DWORD style, LONG l, LONG t, LONG r, LONG b) {
    return WindowSpec{std::move(name), std::move(parent), std::move(className), style, RECT{l, t, r, b}};
}

constexpr DWORD HS = WS_HSCROLL;

// A view with a horizontal scroll bar control beside it, below a frame.
std::vector<WindowSpec> ViewWithBar(Text viewClass, LONG barRight) {
    return {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", viewClass, 0, 0, 0, 800, 580),
            W("bar", "frame", u"ScrollBar", 0, 0, 580, barRight, 597)};
}

// A pane whose horizontal bar lies in a holder window elsewhere in the
// pane's parent, its left and right edges as given.
std::vector<WindowSpec> PaneWithDistantBar(Text paneClass, LONG barLeft, LONG barRight) {
    return {W("frame", "", u"Frame", 0, -100, 0, 900, 700), W("pane", "frame", paneClass, 0, 0, 0, 600, 500),
            W("holder", "frame", u"Holder", 0, -100, 500, 900, 520),
            W("bar", "holder", u"ScrollBar", 0, barLeft, 500, barRight, 517)};
}

struct TargetCase {
    const char* What;
    std::vector<WindowSpec> Tree;
    POINT Pointer;
    const char* Expected;  // the target's name, "null" for none
};

const TargetCase kTargetCases[] = {
    {"desktop icon",
     {W("progman", "", u"Progman", 0, 0, 0, 1000, 800), W("defview", "progman", u"SHELLDLL_DefView", 0, 0, 0, 1000, 800),
      W("icons", "defview", u"SysListView32", HS, 0, 0, 1000, 800)},
     {50, 50}, "null"},
    {"bare desktop", {W("app", "", u"PlainView", HS, 0, 0, 100, 100)}, {500, 500}, "null"},
    {"list view outside the desktop",
     {W("explorer", "", u"CabinetWClass", 0, 0, 0, 1000, 800), W("list", "explorer", u"SysListView32", HS, 0, 0, 1000, 800)},
     {50, 50}, "list"},
    {"plain window with its own horizontal scroll bar", {W("plain", "", u"PlainView", HS, 0, 0, 400, 300)}, {100, 100}, "plain"},
    {"plain window without one and nothing near", {W("plain", "", u"PlainView", 0, 0, 0, 400, 300)}, {100, 100}, "null"},
    {"browser view",
     {W("shell", "", u"Shell DocObject View", 0, 0, 0, 800, 600),
      W("ie", "shell", u"Internet Explorer_Server", 0, 0, 0, 800, 600)},
     {300, 300}, "ie"},
    {"scroll bar taller than wide under the pointer, a horizontal one beside it",
     {W("view", "", u"View", 0, 0, 0, 400, 300), W("vbar", "view", u"ScrollBar", 0, 380, 0, 400, 280),
      W("hbar", "view", u"ScrollBar", 0, 0, 280, 380, 300)},
     {390, 100}, "null"},
    {"horizontal scroll bar under the pointer",
     {W("view", "", u"View", 0, 0, 0, 400, 300), W("vbar", "view", u"ScrollBar", 0, 380, 0, 400, 280),
      W("hbar", "view", u"ScrollBar", 0, 0, 280, 380, 300)},
     {100, 290}, "hbar"},
    {"square scroll bar under the pointer",
     {W("view", "", u"View", 0, 0, 0, 400, 300), W("box", "view", u"ScrollBar", 0, 380, 280, 400, 300)},
     {390, 290}, "null"},
    {"sibling bar ending left of the pointer", ViewWithBar(u"View", 300), {500, 100}, "null"},
    {"sibling bar ending at the pointer", ViewWithBar(u"View", 500), {500, 100}, "null"},
    {"sibling bar reaching past the pointer", ViewWithBar(u"View", 501), {500, 100}, "bar"},
    {"child bar of the view",
     {W("doc", "", u"_WwG", 0, 0, 0, 800, 600), W("bar", "doc", u"ScrollBar", 0, 0, 580, 800, 597)},
     {100, 100}, "bar"},
    {"following sibling before preceding sibling",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("before", "frame", u"ScrollBar", 0, 0, 0, 800, 17),
      W("view", "frame", u"View", 0, 0, 20, 800, 580), W("after", "frame", u"ScrollBar", 0, 0, 580, 800, 597)},
     {100, 100}, "after"},
    {"preceding sibling bar",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("before", "frame", u"NUIScrollbar", 0, 0, 0, 800, 17),
      W("view", "frame", u"View", 0, 0, 20, 800, 580), W("after", "frame", u"ScrollBar", 0, 780, 20, 800, 580)},
     {100, 100}, "before"},
    {"following NUIScrollbar sibling",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", u"View", 0, 0, 0, 800, 580),
      W("nui", "frame", u"NUIScrollbar", 0, 0, 580, 800, 597)},
     {100, 100}, "nui"},
    {"horizontal bar inside an AVL_AVScrollBar sibling",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", u"AVL_AVView", 0, 0, 0, 800, 580),
      W("avl", "frame", u"AVL_AVScrollBar", 0, 0, 580, 800, 597), W("inner", "avl", u"ScrollBar", 0, 0, 580, 800, 597)},
     {100, 100}, "inner"},
    {"vertical bar inside an AVL_AVScrollBar sibling",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", u"AVL_AVView", 0, 0, 0, 780, 600),
      W("avl", "frame", u"AVL_AVScrollBar", 0, 780, 0, 800, 600),
      W("inner", "avl", u"ScrollBar", SBS_VERT, 780, 0, 800, 600)},
     {100, 100}, "null"},
    {"size box inside an AVL_AVScrollBar sibling",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", u"AVL_AVView", 0, 0, 0, 780, 580),
      W("avl", "frame", u"AVL_AVScrollBar", 0, 0, 580, 800, 600),
      W("inner", "avl", u"ScrollBar", SBS_SIZEBOX, 0, 580, 800, 600)},
     {100, 100}, "null"},
    {"AVL_AVScrollBar container with its own horizontal style over a vertical bar",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", u"AVL_AVView", 0, 0, 0, 780, 600),
      W("avl", "frame", u"AVL_AVScrollBar", HS, 780, 0, 800, 600),
      W("inner", "avl", u"ScrollBar", SBS_VERT, 780, 0, 800, 600)},
     {100, 100}, "avl"},
    {"bar inside a preceding AfxWnd42 sibling",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("afx", "frame", u"AfxWnd42", 0, 0, 580, 800, 600),
      W("inner", "afx", u"ScrollBar", 0, 0, 580, 800, 597), W("view", "frame", u"View", 0, 0, 0, 800, 580)},
     {100, 100}, "inner"},
    {"bar inside a preceding AfxWnd70 sibling, behind its vertical bar",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("afx", "frame", u"AfxWnd70", 0, 0, 580, 800, 600),
      W("vert", "afx", u"ScrollBar", 0, 780, 0, 800, 580), W("inner", "afx", u"ScrollBar", 0, 0, 580, 780, 597),
      W("view", "frame", u"View", 0, 0, 0, 780, 580)},
     {100, 100}, "inner"},
    {"bar inside a following AfxWnd42 sibling is not looked for",
     {W("frame", "", u"Frame", 0, 0, 0, 800, 600), W("view", "frame", u"View", 0, 0, 0, 800, 580),
      W("afx", "frame", u"AfxWnd42", 0, 0, 580, 800, 600), W("inner", "afx", u"ScrollBar", 0, 0, 580, 800, 597)},
     {100, 100}, "null"},
    {"browser content window scrolls through its frame",
     {W("moz", "", u"MozillaWindowClass", 0, 0, 0, 800, 600), W("content", "moz", u"MozillaWindowClass", 0, 0, 0, 800, 600)},
     {100, 100}, "moz"},
    {"top-level browser frame without a scroll bar", {W("moz", "", u"MozillaWindowClass", 0, 0, 0, 800, 600)}, {100, 100}, "null"},
    {"top-level browser frame with a horizontal bar child",
     {W("moz", "", u"MozillaWindowClass", 0, 0, 0, 800, 600), W("bar", "moz", u"ScrollBar", 0, 0, 580, 800, 597)},
     {100, 100}, "bar"},
    {"DirectUIHWND with the bar below its second child",
     {W("dui", "", u"DirectUIHWND", 0, 0, 0, 800, 600), W("first", "dui", u"CtrlNotifySink", 0, 0, 0, 10, 10),
      W("second", "dui", u"CtrlNotifySink", 0, 0, 560, 800, 600), W("bar", "second", u"ScrollBar", 0, 0, 580, 800, 597)},
     {400, 300}, "bar"},
    {"DirectUIHWND with the bar below its first child",
     {W("dui", "", u"DirectUIHWND", 0, 0, 0, 800, 600), W("first", "dui", u"CtrlNotifySink", 0, 0, 560, 800, 600),
      W("bar", "first", u"ScrollBar", 0, 0, 580, 800, 597), W("second", "dui", u"CtrlNotifySink", 0, 0, 0, 10, 10)},
     {400, 300}, "bar"},
    {"DirectUIHWND without children", {W("dui", "", u"DirectUIHWND", 0, 0, 0, 800, 600)}, {400, 300}, "null"},
    {"pane with a bar 20 pixels beyond its right edge", PaneWithDistantBar(u"paneClassDC", 0, 620), {300, 200}, "bar"},
    {"pane with a bar 25 pixels beyond its right edge", PaneWithDistantBar(u"paneClassDC", 0, 625), {300, 200}, "bar"},
    {"pane with a bar 30 pixels beyond its right edge", PaneWithDistantBar(u"paneClassDC", 0, 630), {300, 200}, "null"},
    {"pane with a bar 20 pixels beyond its left edge", PaneWithDistantBar(u"paneClassDC", -20, 600), {300, 200}, "bar"},
    {"pane with a bar 30 pixels beyond its left edge", PaneWithDistantBar(u"paneClassDC", -30, 600), {300, 200}, "null"},
    {"VISIOG pane with a bar 20 pixels beyond its right edge", PaneWithDistantBar(u"VISIOG", 0, 620), {300, 200}, "bar"},
    {"VISIOG pane with a bar 30 pixels beyond its right edge", PaneWithDistantBar(u"VISIOG", 0, 630), {300, 200}, "null"},
    {"other view with a distant bar", PaneWithDistantBar(u"View", 0, 620), {300, 200}, "null"},
    {"pane whose distant bar ends left of the pointer", PaneWithDistantBar(u"paneClassDC", 0, 250), {300, 200}, "null"},
    {"pane takes the first fitting bar",
     {W("frame", "", u"Frame", 0, 0, 0, 900, 700), W("pane", "frame", u"paneClassDC", 0, 0, 0, 600, 500),
      W("holder", "frame", u"Holder", 0, 0, 500, 900, 540), W("wide", "holder", u"ScrollBar", 0, 0, 500, 900, 517),
      W("fits", "holder", u"NUIScrollbar", 0, 10, 520, 610, 537), W("also", "holder", u"ScrollBar", 0, 0, 520, 600, 537)},
     {300, 200}, "fits"},
    {"top-level pane has no parent to search",
     {W("pane", "", u"paneClassDC", 0, 0, 0, 600, 500), W("other", "", u"Holder", 0, 0, 500, 600, 520),
      W("bar", "other", u"ScrollBar", 0, 0, 500, 600, 517)},
     {300, 200}, "null"},
};

class FindHorizontalTargetTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FindHorizontalTargetTest, FindsTheExpectedTarget) {
    const TargetCase& c = kTargetCases[GetParam()];
    WindowTree tree(c.Tree);
    CFindScrollBar finder(tree);
    finder.SetReferencePoint(c.Pointer.x, c.Pointer.y);
    HWND under = tree.WindowFromPoint(c.Pointer);
    EXPECT_EQ(tree.NameOf(finder.FindHorizontalTarget(under)), c.Expected) << "case: " << c.What;
}

INSTANTIATE_TEST_SUITE_P(Trees, FindHorizontalTargetTest,
                         ::testing::Range<std::size_t>(0, sizeof kTargetCases / sizeof kTargetCases[0]));

class FindScrollBarTest : public ::testing::Test {
protected:
    WindowTree desktop_{{W("progman", "", u"Progman", 0, 0, 0, 1000, 800),
                         W("defview", "progman", u"SHELLDLL_DefView", 0, 0, 0, 1000, 800),
                         W("icons", "defview", u"SysListView32", 0, 0, 0, 1000, 800),
                         W("app", "", u"App", 0, 0, 0, 400, 300), W("list", "app", u"SysListView32", 0, 0, 0, 400, 300)}};
};

TEST_F(FindScrollBarTest, OnTheDesktopWhenAnAncestorIsTheProgramManager) {
    CFindScrollBar finder(desktop_);
    EXPECT_TRUE(finder.IsOnDesktop(desktop_.Handle("icons")));
    EXPECT_TRUE(finder.IsOnDesktop(desktop_.Handle("defview")));
    EXPECT_FALSE(finder.IsOnDesktop(desktop_.Handle("progman")));  // the walk starts at the parent
    EXPECT_FALSE(finder.IsOnDesktop(desktop_.Handle("list")));
    EXPECT_FALSE(finder.IsOnDesktop(nullptr));
}

TEST_F(FindScrollBarTest, EligibleWindows) {
    CFindScrollBar finder(desktop_);
    EXPECT_FALSE(finder.IsEligibleWindow(nullptr));
    EXPECT_FALSE(finder.IsEligibleWindow(desktop_.Desktop()));
    EXPECT_FALSE(finder.IsEligibleWindow(desktop_.Handle("icons")));
    EXPECT_TRUE(finder.IsEligibleWindow(desktop_.Handle("list")));
    EXPECT_TRUE(finder.IsEligibleWindow(desktop_.Handle("progman")));
}

TEST(FindScrollBarRules, ScrollBarControlsAreHorizontalWhenWiderThanTallAndReachingPastThePointer) {
    WindowTree tree({W("wide", "", u"ScrollBar", 0, 0, 0, 101, 100), W("square", "", u"ScrollBar", 0, 0, 0, 100, 100),
                     W("nui", "", u"NUIScrollbar", 0, 0, 0, 200, 17),
                     W("styled", "", u"ScrollBar", HS, 0, 0, 17, 200)});
    CFindScrollBar finder(tree);
    finder.SetReferencePoint(100, 5);
    EXPECT_TRUE(finder.IsHorizontalScrollBar(tree.Handle("wide")));
    EXPECT_FALSE(finder.IsHorizontalScrollBar(tree.Handle("square")));
    EXPECT_TRUE(finder.IsHorizontalScrollBar(tree.Handle("nui")));
    EXPECT_FALSE(finder.IsHorizontalScrollBar(tree.Handle("styled")));  // a control's own style does not count
    finder.SetReferencePoint(101, 5);
    EXPECT_FALSE(finder.IsHorizontalScrollBar(tree.Handle("wide")));
    EXPECT_FALSE(finder.IsHorizontalScrollBar(nullptr));
}

TEST(FindScrollBarRules, ClassNamesAreComparedExactly) {
    WindowTree tree({W("a", "", u"internet explorer_server", 0, 0, 0, 10, 10),
                     W("b", "", u"Internet Explorer_Server", 0, 0, 0, 10, 10),
                     W("c", "", u"scrollbar", 0, 0, 0, 17, 200)});
    CFindScrollBar finder(tree);
    EXPECT_FALSE(finder.IsHorizontalScrollBar(tree.Handle("a")));
    EXPECT_TRUE(finder.IsHorizontalScrollBar(tree.Handle("b")));
    EXPECT_FALSE(finder.IsHorizontalScrollBar(tree.Handle("c")));
}

TEST(FindScrollBarRules, ChildSearchStartsAtTheFirstChild) {
    WindowTree tree({W("view", "", u"View", 0, 0, 0, 800, 600), W("first", "view", u"ScrollBar", 0, 0, 580, 800, 597),
                     W("second", "view", u"ScrollBar", 0, 0, 560, 800, 577), W("empty", "", u"View", 0, 0, 0, 10, 10)});
    CFindScrollBar finder(tree);
    finder.SetReferencePoint(100, 100);
    EXPECT_EQ(tree.NameOf(finder.FindScrollBarChild(tree.Handle("view"))), "first");
    EXPECT_EQ(tree.NameOf(finder.FindScrollBarChild(tree.Handle("empty"))), "null");
    EXPECT_EQ(tree.NameOf(finder.FindScrollBarChild(nullptr)), "null");
    EXPECT_EQ(tree.NameOf(finder.FindScrollBarSibling(nullptr)), "null");
}

// A window tree that changes while it is walked can present a sibling or
// parent chain that never ends; every walk stops at its bound.
class EndlessTree : public WindowTree {
public:
    using WindowTree::WindowTree;
    HWND GetWindow(HWND window, UINT relation) override {
        if (relation == GW_HWNDNEXT || relation == GW_HWNDPREV) {
            ++InspectionCalls;
            return window;
        }
        return WindowTree::GetWindow(window, relation);
    }
    HWND GetParent(HWND window) override {
        ++InspectionCalls;
        return window;
    }
};

TEST(FindScrollBarRules, WalksOverAnEndlessTreeStop) {
    EndlessTree tree({W("afx", "", u"AfxWnd42", 0, 0, 0, 800, 600), W("child", "afx", u"AfxWnd42", 0, 0, 0, 800, 600)});
    CFindScrollBar finder(tree);
    finder.SetReferencePoint(100, 100);
    EXPECT_EQ(finder.FindScrollBarSibling(tree.Handle("afx")), nullptr);
    EXPECT_LT(tree.InspectionCalls, 10 * kMaxWalkSteps);
    tree.InspectionCalls = 0;
    EXPECT_FALSE(finder.IsOnDesktop(tree.Handle("child")));
    EXPECT_LE(tree.InspectionCalls, 2 * kMaxAncestorSteps + 2);
}

}  // namespace
