#include "scroll/FindScrollBar.h"

namespace {

bool IsScrollBarClass(const Text& className) {
    return className == u"ScrollBar" || className == u"NUIScrollbar";
}

}  // namespace

void CFindScrollBar::SetReferencePoint(LONG x, LONG y) {
    referenceX_ = x;
    referenceY_ = y;
}

Text CFindScrollBar::ClassOf(HWND window) const {
    return window == nullptr ? Text() : windows_.GetClassNameW(window);
}

bool CFindScrollBar::IsOnDesktop(HWND window) const {
    if (window == nullptr) return false;
    HWND ancestor = windows_.GetParent(window);
    for (int step = 0; ancestor != nullptr && step < kMaxAncestorSteps; ++step) {
        if (ClassOf(ancestor) == u"Progman") return true;
        ancestor = windows_.GetParent(ancestor);
    }
    return false;
}

bool CFindScrollBar::IsEligibleWindow(HWND window) const {
    if (window == nullptr || window == windows_.GetDesktopWindow()) return false;
    return !(ClassOf(window) == u"SysListView32" && IsOnDesktop(window));
}

bool CFindScrollBar::IsHorizontalScrollBar(HWND window) const {
    if (window == nullptr) return false;
    const Text className = ClassOf(window);
    if (className == u"Internet Explorer_Server") return true;
    if (!IsScrollBarClass(className)) {
        const auto style = static_cast<DWORD>(windows_.GetWindowLongW(window, GWL_STYLE));
        return (style & WS_HSCROLL) != 0;
    }
    RECT r{};
    if (!windows_.GetWindowRect(window, &r)) return false;
    const long long width = static_cast<long long>(r.right) - r.left;
    const long long height = static_cast<long long>(r.bottom) - r.top;
    return width > height && referenceX_ < r.right;
}

HWND CFindScrollBar::FindScrollBarChild(HWND window) const {
    Walk walk;
    return ChildSearch(window, walk);
}

HWND CFindScrollBar::FindScrollBarSibling(HWND window) const {
    Walk walk;
    return SiblingSearch(window, walk);
}

HWND CFindScrollBar::ChildSearch(HWND window, Walk& walk) const {
    if (window == nullptr || !walk.Step()) return nullptr;
    HWND child = windows_.GetWindow(window, GW_CHILD);
    if (child == nullptr) return nullptr;
    if (IsHorizontalScrollBar(child)) return child;
    return SiblingSearch(child, walk);
}

// The two tests both passes make on one sibling. A container of class
// "AVL_AVScrollBar" holding a horizontal "ScrollBar" gives that bar. The
// second test looks at the class read last: the container's child when
// one was examined, else the sibling's own.
HWND CFindScrollBar::TestSibling(HWND sibling) const {
    Text lastClass = ClassOf(sibling);
    if (lastClass == u"AVL_AVScrollBar") {
        HWND child = windows_.GetWindow(sibling, GW_CHILD);
        if (child != nullptr) {
            lastClass = ClassOf(child);
            const auto style = static_cast<DWORD>(windows_.GetWindowLongW(child, GWL_STYLE));
            if (lastClass == u"ScrollBar" && (style & (SBS_VERT | SBS_SIZEBOX)) == 0) return child;
        }
    }
    if (IsScrollBarClass(lastClass) && IsHorizontalScrollBar(sibling)) return sibling;
    return nullptr;
}

HWND CFindScrollBar::SiblingSearch(HWND window, Walk& walk) const {
    if (window == nullptr) return nullptr;

    for (HWND sibling = windows_.GetWindow(window, GW_HWNDNEXT); sibling != nullptr && walk.Step();
         sibling = windows_.GetWindow(sibling, GW_HWNDNEXT)) {
        if (HWND found = TestSibling(sibling)) return found;
    }

    for (HWND sibling = windows_.GetWindow(window, GW_HWNDPREV); sibling != nullptr && walk.Step();
         sibling = windows_.GetWindow(sibling, GW_HWNDPREV)) {
        if (HWND found = TestSibling(sibling)) return found;
        const Text className = ClassOf(sibling);
        if ((className == u"AfxWnd70" || className == u"AfxWnd42") && walk.Nesting < kMaxNestedSearches) {
            ++walk.Nesting;
            HWND found = ChildSearch(sibling, walk);
            --walk.Nesting;
            if (found != nullptr) return found;
        }
    }
    return nullptr;
}

HWND CFindScrollBar::FindHorizontalTarget(HWND window) const {
    if (!IsEligibleWindow(window)) return nullptr;

    HWND c = windows_.ChildWindowFromPoint(window, POINT{referenceX_, referenceY_});
    if (c == nullptr) c = window;
    const Text className = ClassOf(c);
    Walk walk;

    HWND candidate = IsHorizontalScrollBar(c) ? c : nullptr;
    // A browser's content windows scroll through their frame.
    if (className == u"MozillaWindowClass") candidate = windows_.GetParent(c);
    if (className == u"DirectUIHWND" && candidate == nullptr) {
        // The first and second child windows of C, in stacking order (what
        // FindWindowExW with no class and no title gives).
        HWND first = windows_.GetWindow(c, GW_CHILD);
        candidate = ChildSearch(first, walk);
        if (candidate == nullptr && first != nullptr)
            candidate = ChildSearch(windows_.GetWindow(first, GW_HWNDNEXT), walk);
    }
    if (className != u"ScrollBar") {
        if (candidate != nullptr) return candidate;
        candidate = ChildSearch(c, walk);
        if (candidate == nullptr) candidate = SiblingSearch(c, walk);
    }
    if (candidate == nullptr && (className == u"paneClassDC" || className == u"VISIOG"))
        return SearchByRectangle(c);
    return candidate;
}

// A pane's scroll bars may sit anywhere below the pane's parent: take the
// first horizontal scroll bar among the parent's descendants whose left and
// right edges lie within the pane's, widened by the slack on each side.
HWND CFindScrollBar::SearchByRectangle(HWND pane) const {
    HWND FoundScrollBar = nullptr;
    RECT TargetRect{};
    HWND parent = windows_.GetParent(pane);
    // Without a parent there is nothing that belongs to the pane to search.
    if (parent == nullptr || !windows_.GetWindowRect(pane, &TargetRect)) return nullptr;

    const long long lowestLeft = static_cast<long long>(TargetRect.left) - kPaneScrollBarSlack;
    const long long highestRight = static_cast<long long>(TargetRect.right) + kPaneScrollBarSlack;
    std::size_t visited = 0;
    windows_.EnumChildWindows(parent, [&](HWND descendant) {
        if (++visited > kMaxEnumeratedWindows) return false;
        if (!IsScrollBarClass(ClassOf(descendant)) || !IsHorizontalScrollBar(descendant)) return true;
        RECT r{};
        if (!windows_.GetWindowRect(descendant, &r)) return true;
        if (r.left >= lowestLeft && r.right <= highestRight) {
            FoundScrollBar = descendant;
            return false;
        }
        return true;
    });
    return FoundScrollBar;
}
