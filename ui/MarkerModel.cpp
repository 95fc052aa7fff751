#include "ui/MarkerModel.h"

#include <algorithm>
#include <cstdint>

#include "ui/GuiValues.h"

namespace {

// right − left, or 0 for a reversed edge pair; never overflows.
int Extent(int low, int high) {
    const std::int64_t extent = std::int64_t{high} - low;
    return static_cast<int>(std::clamp<std::int64_t>(extent, 0, INT32_MAX));
}

}  // namespace

int PositionWithinRange(int requested, int minimum, int maximum) {
    return requested >= minimum && requested <= maximum ? requested : minimum;
}

int MarkerFillWidth(int width, int position, int minimum, int maximum) {
    if (width <= 0 || maximum <= minimum) return 0;
    const std::int64_t span = std::int64_t{maximum} - minimum;
    const std::int64_t fill = std::int64_t{width} * (std::int64_t{position} - minimum) / span;
    return static_cast<int>(std::clamp<std::int64_t>(fill, 0, width));
}

std::optional<int> PositionFromPoint(int x, const MarkerRect& rect, int minimum, int maximum) {
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    if (width <= 0) return std::nullopt;
    const std::int64_t offset = std::int64_t{std::max(x, rect.left)} - rect.left;
    std::int64_t position = minimum + (std::int64_t{maximum} - minimum) * offset / width;
    position = std::max<std::int64_t>(position, minimum);
    position = std::min<std::int64_t>(position, maximum);
    return static_cast<int>(position);
}

std::uint32_t MarkerCaptionFormat() {
    return gui::kDrawCenter | gui::kDrawVCenter | gui::kDrawSingleLine | gui::kDrawNoPrefix |
           gui::kDrawEndEllipsis;
}

void MarkerModel::Create(const MarkerRect& rect, const Text& caption) {
    tracking_ = false;
    draggingAllowed_ = true;
    minimum_ = 0;
    maximum_ = 10;
    position_ = 0;
    caption_ = caption;
    rect_ = rect;
}

void MarkerModel::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

std::vector<MarkerStep> MarkerModel::SetPosition(int position) {
    position_ = PositionWithinRange(position, minimum_, maximum_);
    return {MarkerStep::Invalidate, MarkerStep::UpdateNow};
}

void MarkerModel::MoveTo(int parentX) {
    if (const auto position = PositionFromPoint(parentX, rect_, minimum_, maximum_))
        position_ = *position;
}

std::vector<MarkerStep> MarkerModel::OnLButtonDown(int clientX, int clientY) {
    if (!draggingAllowed_) return {MarkerStep::Default};
    tracking_ = true;
    pressX_ = clientX;
    pressY_ = clientY;
    return {MarkerStep::CaptureMouse, MarkerStep::Default};
}

std::vector<MarkerStep> MarkerModel::OnMouseMove(int parentX) {
    if (!tracking_) return {MarkerStep::Default};
    MoveTo(parentX);
    return {MarkerStep::Invalidate, MarkerStep::Default};
}

std::vector<MarkerStep> MarkerModel::OnLButtonUp(int parentX) {
    tracking_ = false;
    MoveTo(parentX);
    return {MarkerStep::Default, MarkerStep::ReleaseCapture, MarkerStep::Invalidate};
}

std::vector<MarkerStep> MarkerModel::OnCaptureChanged() {
    if (!tracking_) return {MarkerStep::Default};
    // The button will be let go in another window: tracking ends here, or
    // moves over the bar would go on dragging with no button held.
    tracking_ = false;
    return {MarkerStep::ReleaseCapture, MarkerStep::Invalidate, MarkerStep::Default};
}

std::vector<MarkerStep> MarkerModel::OnKillFocus() {
    tracking_ = false;
    return {MarkerStep::Default, MarkerStep::Invalidate};
}

MarkerPaint MarkerModel::Paint() const {
    MarkerPaint paint;
    paint.width = Extent(rect_.left, rect_.right);
    paint.height = Extent(rect_.top, rect_.bottom);
    paint.fillWidth = MarkerFillWidth(paint.width, position_, minimum_, maximum_);
    if (!caption_.empty())
        paint.caption = MarkerCaption{caption_, {0, 0, paint.width, paint.height}, MarkerCaptionFormat()};
    return paint;
}
