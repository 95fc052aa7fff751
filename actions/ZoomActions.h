// Zoom in and out of the window under the pointer, with the gesture that the
// program owning the window understands. Programs are recognised by the
// exact class names of the window under the pointer and of its relatives.
#pragma once

#include <cstddef>
#include <cstdint>

#include "actions/WindowQueries.h"
#include "platform/Platform.h"
#include "platform/Text.h"

enum class ZoomGroup : std::uint8_t {
    None,
    Office,         // office documents
    Browser,        // embedded browser
    TabbedBrowser,  // embedded browser inside a tabbed browser window
    ImageView,
    DocumentView,
    PaintView,
    PhotoView,
};

struct ZoomClass {
    const char16_t* ClassName;
    ZoomGroup Group;
};

// Compared in this order with the class of the window under the pointer.
constexpr ZoomClass kZoomClasses[] = {
    {u"_WwG", ZoomGroup::Office},
    {u"paneClassDC", ZoomGroup::Office},
    {u"VISIOG", ZoomGroup::Office},
    {u"PSViewC", ZoomGroup::Office},
    {u"EditControl", ZoomGroup::Office},
    {u"FrontPageEditorDocumentView", ZoomGroup::Office},
    {u"EXCEL7", ZoomGroup::Office},
    {u"Internet Explorer_Server", ZoomGroup::Browser},
    {u"ImageViewWndClass", ZoomGroup::ImageView},
    {u"AfxWnd42s", ZoomGroup::DocumentView},
    {u"AVL_AVView", ZoomGroup::DocumentView},
    {u"MSPaintView", ZoomGroup::PaintView},
};
// The browser is tabbed when the window two levels above it has this class.
constexpr char16_t kTabbedBrowserFrameClass[] = u"TabWindowClass";
// A class name longer than this is looked at again as the parent's class
// (for the paint view's child windows).
constexpr std::size_t kLongClassNameLength = 20;
constexpr char16_t kPaintViewClass[] = u"MSPaintView";
constexpr char16_t kPhotoCanvasClass[] = u"Photos_PhotoCanvas";
// The photo preview, on the window itself or on its parent.
constexpr char16_t kPhotoPreviewClass[] = u"ShImgVw:CPreviewWnd";

// The groups a window matched; more than one can be set.
struct ZoomMatches {
    bool Office = false;
    bool Browser = false;
    bool TabbedBrowser = false;
    bool ImageView = false;
    bool DocumentView = false;
    bool PaintView = false;
    bool PhotoView = false;
};

ZoomMatches MatchZoomClasses(WindowQueries& windows, HWND window);
// The group whose gesture is sent: the first set of office or tabbed
// browser, browser, image view, document view, paint view, photo view.
ZoomGroup ChooseZoomGroup(const ZoomMatches& matches);

struct GestureStep {
    enum class Kind : std::uint8_t { KeyDown, KeyUp, Wheel, Pause };
    Kind What;
    int Value;  // virtual key, wheel delta or milliseconds
};

constexpr std::size_t kMaxGestureSteps = 7;
constexpr std::size_t kZoomGroupCount = static_cast<std::size_t>(ZoomGroup::PhotoView) + 1;

struct ZoomGesture {
    std::size_t Length;
    GestureStep Steps[kMaxGestureSteps];
};

constexpr int kZoomPauseMs = 100;
constexpr GestureStep KeyDown(int virtualKey) { return {GestureStep::Kind::KeyDown, virtualKey}; }
constexpr GestureStep KeyUp(int virtualKey) { return {GestureStep::Kind::KeyUp, virtualKey}; }
constexpr GestureStep Wheel(int delta) { return {GestureStep::Kind::Wheel, delta}; }
constexpr GestureStep Pause() { return {GestureStep::Kind::Pause, kZoomPauseMs}; }

constexpr ZoomGesture ControlWheel(int delta) {
    return {5, {KeyDown(VK_LCONTROL), Pause(), Wheel(delta), Pause(), KeyUp(VK_LCONTROL)}};
}
constexpr ZoomGesture KeyAlone(int virtualKey) {
    return {3, {KeyDown(virtualKey), Pause(), KeyUp(virtualKey)}};
}
constexpr ZoomGesture ControlKey(int virtualKey) {
    return {7, {KeyDown(VK_LCONTROL), Pause(), KeyDown(virtualKey), Pause(), KeyUp(virtualKey),
                Pause(), KeyUp(VK_LCONTROL)}};
}
constexpr ZoomGesture WheelAlone(int delta) { return {1, {Wheel(delta)}}; }

// Indexed by ZoomGroup. The embedded browser outside a tabbed window turns
// the wheel the other way round from every other group.
constexpr ZoomGesture kZoomInGestures[kZoomGroupCount] = {
    {0, {}},                      // None
    ControlWheel(WHEEL_DELTA),    // Office
    ControlWheel(-WHEEL_DELTA),   // Browser
    ControlWheel(WHEEL_DELTA),    // TabbedBrowser
    KeyAlone(VK_ADD),             // ImageView
    ControlKey(VK_ADD),           // DocumentView
    ControlKey(VK_PRIOR),         // PaintView
    WheelAlone(WHEEL_DELTA),      // PhotoView
};
constexpr ZoomGesture kZoomOutGestures[kZoomGroupCount] = {
    {0, {}},                      // None
    ControlWheel(-WHEEL_DELTA),   // Office
    ControlWheel(WHEEL_DELTA),    // Browser
    ControlWheel(-WHEEL_DELTA),   // TabbedBrowser
    KeyAlone(VK_SUBTRACT),        // ImageView
    ControlKey(VK_SUBTRACT),      // DocumentView
    ControlKey(VK_NEXT),          // PaintView
    WheelAlone(-WHEEL_DELTA),     // PhotoView
};
// Sends a gesture: keys without the extended-key flag, the wheel as an
// absolute wheel event with extra information 0, pauses as sleeps.
void SendZoomGesture(const ZoomGesture& gesture);

// Zoom the window under the pointer in or out; nothing when its class is not
// recognised or the pointer position is not known.
void ZoomIn(WindowQueries& windows);
void ZoomOut(WindowQueries& windows);
