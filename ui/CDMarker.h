// The marker bar: an owner-drawn horizontal bar control drawn from two
// faces, empty and filled; the filled face covers the bar from the left in
// proportion to the position within the range, with an optional caption
// centred on top. Pressing the left button on the bar and dragging sets the
// position. Its decisions are MarkerModel's; this class carries them out on
// the window.
#pragma once

#include "framework/CBitmap.h"
#include "framework/CWnd.h"
#include "ui/MarkerModel.h"

// The framework's plain child-window class: the bar has no class of its own.
constexpr char16_t kPlainChildWindowClass[] = u"MursohidChildWindow";

class CDMarker : public CWnd {
public:
    CDMarker() = default;
    ~CDMarker() override;

    // Creates the bar as a visible child of `parent` at the rectangle (in the
    // parent's client coordinates) with identifier `id`: idle, dragging
    // allowed, range 0 to 10, position 0. True when the window was made.
    BOOL CreateMarker(int left, int top, int right, int bottom, const Text& caption, CWnd* parent, int id);
    // Copies the rectangle of each source into the empty and the filled face.
    void SetImages(int left, int top, int right, int bottom, const CBitmap& emptySource,
                   const CBitmap& filledSource);
    // Stores the range; no redraw.
    void SetRange(int minimum, int maximum);
    // The position, or the range minimum when it lies outside the range;
    // the bar is redrawn at once.
    void SetPosition(int position);

    int GetPosition() const { return model_.position(); }
    int GetControlId() const { return id_; }
    const MarkerModel& Model() const { return model_; }
    void SetDraggingAllowed(bool allowed) { model_.setDraggingAllowed(allowed); }
    HBITMAP EmptyFace() const { return empty_.GetSafeHandle(); }
    HBITMAP FilledFace() const { return filled_.GetSafeHandle(); }

protected:
    bool ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCaptureChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    // Carries out the model's steps; the result of the default handling, if any.
    LRESULT Carry(const std::vector<MarkerStep>& steps, UINT message, WPARAM wParam, LPARAM lParam);
    // x of a point in the bar's client coordinates, in its parent's.
    int ParentX(LPARAM lParam) const;

    static const MessageMapEntry<CDMarker> kMessageMap[];

    int id_ = 0;
    CBitmap empty_;
    CBitmap filled_;
    MarkerModel model_;  // tracking, rectangle, press point, range, position, dragging, caption
    HWND parent_ = nullptr;
};
