// The description of a window tree that windowtree.exe builds: top-level
// and child windows with their class names, styles and screen rectangles,
// and where to put the pointer. Plain text, one item per line; blank lines
// and lines starting with '#' are ignored:
//
//   window  NAME PARENT STYLE LEFT TOP RIGHT BOTTOM CLASS NAME
//   hung    NAME -      STYLE LEFT TOP RIGHT BOTTOM CLASS NAME
//   pointer X Y
//
// NAME: 1 to 32 of A-Z a-z 0-9 _ . -, unique; it is the window's title and
// its name in the log. PARENT: "-" for a top-level window, else the name of
// a window described on an earlier line. STYLE: the window style, decimal
// or 0x-hex. The rectangle is in screen coordinates, each value from -32768
// to 32767, not empty. CLASS NAME: the rest of the line (spaces allowed),
// 1 to 255 printable ASCII characters. "hung" makes a top-level window
// whose thread (with every window below it) stops taking messages once the
// tree is built. At most 64 windows and one pointer line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace windowtree {

constexpr std::size_t kMaxWindows = 64;
constexpr std::size_t kMaxNameLength = 32;
constexpr std::size_t kMaxClassNameLength = 255;

struct TreeWindow {
    std::string Name;
    int Parent = -1;  // index of an earlier window, -1 for a top-level window
    std::uint32_t Style = 0;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string ClassName;
    bool Hung = false;  // top-level windows only
};

struct TreeLayout {
    std::vector<TreeWindow> Windows;  // in the order of the description
    bool HasPointer = false;
    std::int32_t PointerX = 0, PointerY = 0;
};

// Reads a description. On a fault, returns false with "line N: what" in
// `error` and leaves `layout` unspecified.
bool ParseLayout(const std::string& text, TreeLayout& layout, std::string& error);

// The index of the top-level window that `index` lies under (itself when it
// is top-level). `index` must be a valid index of `layout`.
std::size_t TopLevelOf(const TreeLayout& layout, std::size_t index);

}  // namespace windowtree
