// The marker bar's own logic, apart from its window: range and position,
// how much of the filled face shows, where a mouse point puts the position,
// the idle and tracking states, and what one paint draws. The window class
// carries out the steps each operation returns, in order.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"

struct MarkerRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// `requested` when it lies within [minimum, maximum], otherwise the minimum.
int PositionWithinRange(int requested, int minimum, int maximum);

// Pixels of the filled face, from the left edge, for a bar `width` wide:
// width × (position − minimum) / (maximum − minimum), truncated; 0 when the
// range is empty or reversed, never outside 0..width.
int MarkerFillWidth(int width, int position, int minimum, int maximum);

// The position a point at `x` (in the parent's client coordinates) stands
// for on a bar at `rect`: x is raised to the left edge, then
// minimum + (maximum − minimum) × (x − left) / (right − left), raised to the
// minimum and lowered to the maximum. Nothing for a bar without width.
std::optional<int> PositionFromPoint(int x, const MarkerRect& rect, int minimum, int maximum);

// What the window does for an operation, in the order given.
enum class MarkerStep {
    CaptureMouse,    // SetCapture
    ReleaseCapture,  // ReleaseCapture
    Invalidate,      // InvalidateRect(whole control, erase)
    UpdateNow,       // UpdateWindow
    Default,         // the message's default handling
};

// The caption as one paint draws it.
struct MarkerCaption {
    Text text;
    MarkerRect rect;     // in the off-screen bitmap: the whole control
    std::uint32_t format;  // DrawText flags
};

// One paint: the off-screen size, the empty face over all of it, the filled
// face over fillWidth × height from the left, then the caption if any.
struct MarkerPaint {
    int width = 0;
    int height = 0;
    int fillWidth = 0;
    bool transparentText = true;  // background mode TRANSPARENT
    std::optional<MarkerCaption> caption;
};

// Centred on one line, no prefix characters, cut with an ellipsis.
std::uint32_t MarkerCaptionFormat();

class MarkerModel {
public:
    // The state CreateMarker gives: idle, dragging allowed, range 0 to 10,
    // position 0, with the control's rectangle (in its parent's client
    // coordinates) and caption.
    void Create(const MarkerRect& rect, const Text& caption);

    // Stores the range as given; the position is not touched and nothing is redrawn.
    void SetRange(int minimum, int maximum);
    std::vector<MarkerStep> SetPosition(int position);

    // Mouse input. Button-down takes the point in the control's client
    // coordinates; the others take x already in the parent's client coordinates.
    std::vector<MarkerStep> OnLButtonDown(int clientX, int clientY);
    std::vector<MarkerStep> OnMouseMove(int parentX);
    std::vector<MarkerStep> OnLButtonUp(int parentX);
    std::vector<MarkerStep> OnCaptureChanged();
    std::vector<MarkerStep> OnKillFocus();

    MarkerPaint Paint() const;

    bool tracking() const { return tracking_; }
    bool draggingAllowed() const { return draggingAllowed_; }
    void setDraggingAllowed(bool allowed) { draggingAllowed_ = allowed; }
    int position() const { return position_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    const MarkerRect& rect() const { return rect_; }
    int pressX() const { return pressX_; }
    int pressY() const { return pressY_; }
    const Text& caption() const { return caption_; }

private:
    void MoveTo(int parentX);

    bool tracking_ = false;
    MarkerRect rect_;
    int pressX_ = 0;
    int pressY_ = 0;
    int minimum_ = 0;
    int maximum_ = 10;
    int position_ = 0;
    bool draggingAllowed_ = true;
    Text caption_;
};
