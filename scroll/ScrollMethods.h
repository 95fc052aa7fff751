// How a horizontal scroll step reaches each kind of window, chosen by the
// class name of the window under the pointer (exact, case-sensitive).
#pragma once

#include <string_view>

enum class ScrollMethod {
    ArrowClick,        // click the found scroll bar's arrow
    ScrollBarMessage,  // WM_HSCROLL to the found scroll bar's owner
    ArrowKeys,         // left or right arrow key messages to the target
    BrowserScrolling,  // the browser's own scrolling interface
    PlainMessage,      // WM_HSCROLL to the window under the pointer
};

struct ScrollMethodEntry {
    std::u16string_view ClassName;
    ScrollMethod Method;
};

inline constexpr ScrollMethodEntry kScrollMethodByClass[] = {
    {u"EXCEL7", ScrollMethod::ArrowClick},
    {u"_WwG", ScrollMethod::ScrollBarMessage},
    {u"AVL_AVView", ScrollMethod::ScrollBarMessage},
    {u"paneClassDC", ScrollMethod::ScrollBarMessage},
    {u"VISIOG", ScrollMethod::ScrollBarMessage},
    {u"PSViewC", ScrollMethod::ScrollBarMessage},
    {u"EditControl", ScrollMethod::ScrollBarMessage},
    {u"FrontPageEditorDocumentView", ScrollMethod::ScrollBarMessage},
    {u"OGrid", ScrollMethod::ScrollBarMessage},
    {u"OFormSub", ScrollMethod::ScrollBarMessage},
    {u"OPrtPrevPage", ScrollMethod::ScrollBarMessage},
    {u"MozillaWindowClass", ScrollMethod::ArrowKeys},
    {u"Internet Explorer_Server", ScrollMethod::BrowserScrolling},
};

// The method for a class; every class not in the table gets the plain message.
constexpr ScrollMethod ScrollMethodForClass(std::u16string_view className) {
    for (const ScrollMethodEntry& entry : kScrollMethodByClass)
        if (entry.ClassName == className) return entry.Method;
    return ScrollMethod::PlainMessage;
}
