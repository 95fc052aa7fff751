// Window-message, key and text-drawing values the skinned interface decides
// on. They carry their own names so the same logic builds on both builds;
// the Windows files check each against the system header's value.
#pragma once

#include <cstdint>

namespace gui {

constexpr unsigned kMessageKeyDown = 0x0100;  // WM_KEYDOWN
constexpr unsigned kKeyEscape = 0x1B;         // VK_ESCAPE
constexpr unsigned kKeyReturn = 0x0D;         // VK_RETURN

// DrawText format bits.
constexpr std::uint32_t kDrawCenter = 0x0001;       // DT_CENTER
constexpr std::uint32_t kDrawVCenter = 0x0004;      // DT_VCENTER
constexpr std::uint32_t kDrawSingleLine = 0x0020;   // DT_SINGLELINE
constexpr std::uint32_t kDrawNoPrefix = 0x0800;     // DT_NOPREFIX
constexpr std::uint32_t kDrawEndEllipsis = 0x8000;  // DT_END_ELLIPSIS

// Region data: the header's size and the rectangle-list type.
constexpr std::uint32_t kRegionHeaderSize = 32;  // sizeof(RGNDATAHEADER)
constexpr std::uint32_t kRegionRectangles = 1;   // RDH_RECTANGLES

}  // namespace gui
