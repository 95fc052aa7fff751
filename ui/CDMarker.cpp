#include "ui/CDMarker.h"

#include "framework/CDC.h"
#include "ui/GuiValues.h"
#include "ui/SkinImages.h"

namespace {

// The signed 16-bit halves of a mouse message's lParam.
int PointX(LPARAM lParam) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(lParam & 0xFFFF)); }
int PointY(LPARAM lParam) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((lParam >> 16) & 0xFFFF));
}

}  // namespace

const MessageMapEntry<CDMarker> CDMarker::kMessageMap[] = {
    OnMessage(WM_PAINT, &CDMarker::OnPaint),
    OnMessage(WM_LBUTTONDOWN, &CDMarker::OnLButtonDown),
    OnMessage(WM_LBUTTONUP, &CDMarker::OnLButtonUp),
    OnMessage(WM_MOUSEMOVE, &CDMarker::OnMouseMove),
    OnMessage(WM_CAPTURECHANGED, &CDMarker::OnCaptureChanged),
    OnMessage(WM_KILLFOCUS, &CDMarker::OnKillFocus),
};

bool CDMarker::ProcessMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result) ||
           CWnd::ProcessMessageMap(message, wParam, lParam, result);
}

CDMarker::~CDMarker() {
    // The faces go with the object; the window goes with CWnd.
    empty_.DeleteObject();
    filled_.DeleteObject();
}

BOOL CDMarker::CreateMarker(int left, int top, int right, int bottom, const Text& caption, CWnd* parent, int id) {
    id_ = id;
    model_.Create(MarkerRect{left, top, right, bottom}, caption);
    parent_ = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    SetParentHwnd(parent_);
    WindowCreation creation;
    creation.className = kPlainChildWindowClass;
    creation.title = Text();
    creation.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    creation.x = left;
    creation.y = top;
    creation.width = right - left;
    creation.height = bottom - top;
    creation.parent = parent_;
    creation.childId = static_cast<UINT>(id);
    return CreateFrom(creation);
}

void CDMarker::SetImages(int left, int top, int right, int bottom, const CBitmap& emptySource,
                         const CBitmap& filledSource) {
    HDC dc = Sys().Graphics.GetDC(m_hWnd);
    CopyBitmapPart(dc, empty_, emptySource, left, top, right, bottom);
    CopyBitmapPart(dc, filled_, filledSource, left, top, right, bottom);
    Sys().Graphics.ReleaseDC(m_hWnd, dc);
}

void CDMarker::SetRange(int minimum, int maximum) { model_.SetRange(minimum, maximum); }

void CDMarker::SetPosition(int position) { Carry(model_.SetPosition(position), 0, 0, 0); }

LRESULT CDMarker::Carry(const std::vector<MarkerStep>& steps, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    for (MarkerStep step : steps) {
        switch (step) {
        case MarkerStep::CaptureMouse: Sys().Windows.SetCapture(m_hWnd); break;
        case MarkerStep::ReleaseCapture: Sys().Windows.ReleaseCapture(); break;
        case MarkerStep::Invalidate: Sys().Windows.InvalidateRect(m_hWnd, nullptr, TRUE); break;
        case MarkerStep::UpdateNow: Sys().Windows.UpdateWindow(m_hWnd); break;
        case MarkerStep::Default: result = Default(message, wParam, lParam); break;
        }
    }
    return result;
}

int CDMarker::ParentX(LPARAM lParam) const {
    POINT point{PointX(lParam), PointY(lParam)};
    Sys().Windows.ClientToScreen(m_hWnd, &point);
    if (parent_ != nullptr) Sys().Windows.ScreenToClient(parent_, &point);
    return point.x;
}

LRESULT CDMarker::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT paint{};
    HDC dc = Sys().Graphics.BeginPaint(m_hWnd, &paint);
    const MarkerPaint plan = model_.Paint();
    if (dc != nullptr && plan.width > 0 && plan.height > 0) {
        // Composed off screen, then copied to the bar in one go.
        CBitmap offScreenBitmap;
        CDC offScreen;
        CDC face;
        if (offScreenBitmap.CreateCompatibleBitmap(dc, plan.width, plan.height) &&
            offScreen.CreateCompatibleDC(dc) && face.CreateCompatibleDC(dc)) {
            offScreen.SelectObject(offScreenBitmap.GetSafeHandle());
            if (empty_.GetSafeHandle() != nullptr) {
                face.SelectObject(empty_.GetSafeHandle());
                offScreen.BitBlt(0, 0, plan.width, plan.height, face.GetSafeHdc(), 0, 0, SRCCOPY);
            }
            if (filled_.GetSafeHandle() != nullptr && plan.fillWidth > 0) {
                face.SelectObject(filled_.GetSafeHandle());
                offScreen.BitBlt(0, 0, plan.fillWidth, plan.height, face.GetSafeHdc(), 0, 0, SRCCOPY);
            }
            if (plan.transparentText) Sys().Graphics.SetBkMode(offScreen.GetSafeHdc(), TRANSPARENT);
            if (plan.caption) {
                RECT rect{plan.caption->rect.left, plan.caption->rect.top, plan.caption->rect.right,
                          plan.caption->rect.bottom};
                Sys().Graphics.DrawTextW(offScreen.GetSafeHdc(), plan.caption->text, &rect, plan.caption->format);
            }
            Sys().Graphics.BitBlt(dc, 0, 0, plan.width, plan.height, offScreen.GetSafeHdc(), 0, 0, SRCCOPY);
        }
    }
    Sys().Graphics.EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CDMarker::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Carry(model_.OnLButtonDown(PointX(lParam), PointY(lParam)), message, wParam, lParam);
}

LRESULT CDMarker::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    const int x = model_.tracking() ? ParentX(lParam) : 0;
    return Carry(model_.OnMouseMove(x), message, wParam, lParam);
}

LRESULT CDMarker::OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Carry(model_.OnLButtonUp(ParentX(lParam)), message, wParam, lParam);
}

LRESULT CDMarker::OnCaptureChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Carry(model_.OnCaptureChanged(), message, wParam, lParam);
}

LRESULT CDMarker::OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Carry(model_.OnKillFocus(), message, wParam, lParam);
}
