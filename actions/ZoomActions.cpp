#include "actions/ZoomActions.h"

#include "platform/Platform.h"

namespace {

constexpr std::size_t kClassNameBufferUnits = 260;

// The class of a window as the 260-unit buffer holds it.
Text ClassOf(WindowQueries& windows, HWND window) {
    Text name = windows.GetClassNameW(window);
    if (name.size() >= kClassNameBufferUnits) name.resize(kClassNameBufferUnits - 1);
    return name;
}

void Set(ZoomMatches& matches, ZoomGroup group) {
    switch (group) {
        case ZoomGroup::Office: matches.Office = true; break;
        case ZoomGroup::Browser: matches.Browser = true; break;
        case ZoomGroup::TabbedBrowser: matches.TabbedBrowser = true; break;
        case ZoomGroup::ImageView: matches.ImageView = true; break;
        case ZoomGroup::DocumentView: matches.DocumentView = true; break;
        case ZoomGroup::PaintView: matches.PaintView = true; break;
        case ZoomGroup::PhotoView: matches.PhotoView = true; break;
        case ZoomGroup::None: break;
    }
}

void Zoom(WindowQueries& windows, const ZoomGesture (&gestures)[kZoomGroupCount]) {
    POINT pointer{0, 0};
    if (!Sys().Input.GetCursorPos(&pointer)) return;
    const HWND window = windows.WindowFromPoint(pointer);
    const ZoomGroup group = ChooseZoomGroup(MatchZoomClasses(windows, window));
    // The plain gesture goes out anyway; the line says why no kind of window matched.
    if (group == ZoomGroup::None)
        Sys().Kernel.OutputDebugStringW(window == nullptr ? Text(u"ZOOM:no window under the pointer")
                                                          : u"ZOOM:no zoomable window under the pointer, class " +
                                                                ClassOf(windows, window));
    SendZoomGesture(gestures[static_cast<std::size_t>(group)]);
}

}  // namespace

ZoomMatches MatchZoomClasses(WindowQueries& windows, HWND window) {
    ZoomMatches matches;
    // The name under test: the window's class, replaced on the way by the
    // class of a relative where a group is recognised by one.
    Text name = ClassOf(windows, window);
    for (const ZoomClass& entry : kZoomClasses) {
        if (name != entry.ClassName) continue;
        Set(matches, entry.Group);
        if (entry.Group == ZoomGroup::Browser) {
            name = ClassOf(windows, windows.GetParent(windows.GetParent(window)));
            if (name == kTabbedBrowserFrameClass) {
                matches.Browser = false;
                matches.TabbedBrowser = true;
            }
        }
    }
    if (name.size() > kLongClassNameLength) {
        name = ClassOf(windows, windows.GetParent(window));
        if (name == kPaintViewClass) matches.PaintView = true;
    }
    if (name == kPhotoCanvasClass) matches.PhotoView = true;
    if (name == kPhotoPreviewClass) {
        matches.PhotoView = true;
    } else {
        name = ClassOf(windows, windows.GetParent(window));
        if (name == kPhotoPreviewClass) matches.PhotoView = true;
    }
    return matches;
}

ZoomGroup ChooseZoomGroup(const ZoomMatches& m) {
    if (m.Office) return ZoomGroup::Office;
    if (m.TabbedBrowser) return ZoomGroup::TabbedBrowser;
    if (m.Browser) return ZoomGroup::Browser;
    if (m.ImageView) return ZoomGroup::ImageView;
    if (m.DocumentView) return ZoomGroup::DocumentView;
    if (m.PaintView) return ZoomGroup::PaintView;
    if (m.PhotoView) return ZoomGroup::PhotoView;
    return ZoomGroup::None;
}

void SendZoomGesture(const ZoomGesture& gesture) {
    InputInjection& input = Sys().Input;
    const std::size_t length = gesture.Length < kMaxGestureSteps ? gesture.Length : kMaxGestureSteps;
    for (std::size_t i = 0; i < length; ++i) {
        const GestureStep& step = gesture.Steps[i];
        switch (step.What) {
            case GestureStep::Kind::KeyDown:
                input.keybd_event(static_cast<BYTE>(step.Value), 0, 0, 0);
                break;
            case GestureStep::Kind::KeyUp:
                input.keybd_event(static_cast<BYTE>(step.Value), 0, KEYEVENTF_KEYUP, 0);
                break;
            case GestureStep::Kind::Wheel:
                input.mouse_event(MOUSEEVENTF_WHEEL | MOUSEEVENTF_ABSOLUTE, 0, 0,
                                  static_cast<DWORD>(step.Value), 0);
                break;
            case GestureStep::Kind::Pause:
                Sys().Kernel.Sleep(static_cast<DWORD>(step.Value));
                break;
        }
    }
}

void ZoomIn(WindowQueries& windows) { Zoom(windows, kZoomInGestures); }
void ZoomOut(WindowQueries& windows) { Zoom(windows, kZoomOutGestures); }
