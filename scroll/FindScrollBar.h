// Finds what should receive a horizontal scroll step under the pointer: a
// horizontal scroll bar control near it, a window that owns a horizontal
// scroll bar, or a known browser or document window. It only inspects
// windows; it sends nothing.
//
// One finder serves one scroll step, on the thread that runs the step; it
// keeps no state beyond the pointer position it was given.
#pragma once

#include <cstddef>

#include "scroll/ScrollWindows.h"

// Walks over windows are bounded: the window tree belongs to other programs
// and may change while it is walked.
constexpr int kMaxAncestorSteps = 64;
// Steps from window to window (child, next or previous sibling) in one search.
constexpr int kMaxWalkSteps = 8192;
// Searches nested inside a search (a child's siblings, a sibling's child).
constexpr int kMaxNestedSearches = 32;
constexpr std::size_t kMaxEnumeratedWindows = 16384;
// Scroll bars lying up to this far beside a pane still belong to it.
constexpr LONG kPaneScrollBarSlack = 25;

class CFindScrollBar {
public:
    explicit CFindScrollBar(ScrollWindows& windows) : windows_(windows) {}

    // The pointer position (screen) at the start of the step.
    void SetReferencePoint(LONG x, LONG y);

    // True when an ancestor of `window` (its parent first) is the desktop's
    // program manager ("Progman").
    bool IsOnDesktop(HWND window) const;
    // False for no window, the desktop window and the desktop's icon view.
    bool IsEligibleWindow(HWND window) const;
    // A browser view, a window with a horizontal scroll bar of its own, or a
    // scroll bar control wider than tall that reaches right of the pointer.
    bool IsHorizontalScrollBar(HWND window) const;
    // The window's first child when it is horizontal, else what
    // FindScrollBarSibling finds from that child; null when none.
    HWND FindScrollBarChild(HWND window) const;
    // A horizontal scroll bar among the window's siblings: the following
    // ones first, then the preceding ones; null when none.
    HWND FindScrollBarSibling(HWND window) const;
    // The target for the window under the pointer; null when none.
    HWND FindHorizontalTarget(HWND window) const;

    LONG ReferenceX() const { return referenceX_; }
    LONG ReferenceY() const { return referenceY_; }

private:
    // What is left of one search's steps and nesting.
    struct Walk {
        int Steps = kMaxWalkSteps;
        int Nesting = 0;
        bool Step() {
            if (Steps <= 0) return false;
            --Steps;
            return true;
        }
    };

    Text ClassOf(HWND window) const;
    HWND ChildSearch(HWND window, Walk& walk) const;
    HWND SiblingSearch(HWND window, Walk& walk) const;
    HWND TestSibling(HWND sibling) const;
    HWND SearchByRectangle(HWND pane) const;

    ScrollWindows& windows_;
    LONG referenceX_ = 0;
    LONG referenceY_ = 0;
};
