// The delivery method chosen by the class of the window under the pointer.
#include <gtest/gtest.h>

#include "scroll/ScrollMethods.h"

namespace {

static_assert(ScrollMethodForClass(u"EXCEL7") == ScrollMethod::ArrowClick);
static_assert(ScrollMethodForClass(u"Notepad") == ScrollMethod::PlainMessage);

struct MethodCase {
    std::u16string_view ClassName;
    ScrollMethod Expected;
};

const MethodCase kMethodCases[] = {
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
    // Exact, whole, case-sensitive names only.
    {u"excel7", ScrollMethod::PlainMessage},
    {u"EXCEL", ScrollMethod::PlainMessage},
    {u"EXCEL77", ScrollMethod::PlainMessage},
    {u"Internet Explorer_Server ", ScrollMethod::PlainMessage},
    {u"mozillawindowclass", ScrollMethod::PlainMessage},
    {u"", ScrollMethod::PlainMessage},
    {u"ScrollBar", ScrollMethod::PlainMessage},
};

TEST(ScrollMethodsTest, MethodByClass) {
    for (std::size_t i = 0; i < sizeof kMethodCases / sizeof kMethodCases[0]; ++i)
        EXPECT_EQ(ScrollMethodForClass(kMethodCases[i].ClassName), kMethodCases[i].Expected) << "case " << i;
}

TEST(ScrollMethodsTest, EveryClassIsListedOnce) {
    for (const ScrollMethodEntry& a : kScrollMethodByClass) {
        int seen = 0;
        for (const ScrollMethodEntry& b : kScrollMethodByClass) seen += a.ClassName == b.ClassName;
        EXPECT_EQ(seen, 1);
    }
}

}  // namespace
