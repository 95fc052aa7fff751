// The window-tree fixture's description: what it reads, and every fault it
// refuses with the line it found it on.
#include <gtest/gtest.h>

#include <string>

#include "tools/windowtree/WindowTreeLayout.h"

namespace {

using windowtree::ParseLayout;
using windowtree::TopLevelOf;
using windowtree::TreeLayout;

std::string Describe(const windowtree::TreeWindow& w) {
    return w.Name + " parent=" + std::to_string(w.Parent) + " style=" + std::to_string(w.Style) +
           " rect=" + std::to_string(w.Left) + "," + std::to_string(w.Top) + "," + std::to_string(w.Right) + "," +
           std::to_string(w.Bottom) + " class=[" + w.ClassName + "]" + (w.Hung ? " hung" : "");
}

TEST(WindowTreeLayoutTest, ReadsWindowsInOrderWithTheirParentsAndThePointer) {
    const std::string text =
        "# a spreadsheet and a browser view\r\n"
        "window book - 0x90000000 300 200 900 700 XLMAIN\r\n"
        "\n"
        "  window sheet book 1342177280 310 220 890 680 EXCEL7  \n"
        "window sheet.bar sheet 0x50000000 330 -660 870 -643 ScrollBar\n"
        "hung frozen - 0x90100000 -32768 0 32767 10 Internet Explorer_Server\n"
        "pointer 600 -400\n";
    TreeLayout layout;
    std::string error;
    ASSERT_TRUE(ParseLayout(text, layout, error)) << error;
    std::vector<std::string> windows;
    for (const auto& w : layout.Windows) windows.push_back(Describe(w));
    EXPECT_EQ(windows, (std::vector<std::string>{
                           "book parent=-1 style=2415919104 rect=300,200,900,700 class=[XLMAIN]",
                           "sheet parent=0 style=1342177280 rect=310,220,890,680 class=[EXCEL7]",
                           "sheet.bar parent=1 style=1342177280 rect=330,-660,870,-643 class=[ScrollBar]",
                           "frozen parent=-1 style=2416967680 rect=-32768,0,32767,10 "
                           "class=[Internet Explorer_Server] hung",
                       }));
    EXPECT_TRUE(layout.HasPointer);
    EXPECT_EQ(layout.PointerX, 600);
    EXPECT_EQ(layout.PointerY, -400);
    EXPECT_EQ(TopLevelOf(layout, 2), 0u);
    EXPECT_EQ(TopLevelOf(layout, 0), 0u);
    EXPECT_EQ(TopLevelOf(layout, 3), 3u);
}

TEST(WindowTreeLayoutTest, AnEmptyDescriptionHasNoWindowsAndNoPointer) {
    TreeLayout layout;
    layout.HasPointer = true;
    std::string error = "stale";
    ASSERT_TRUE(ParseLayout("# nothing\n\n", layout, error));
    EXPECT_TRUE(layout.Windows.empty());
    EXPECT_FALSE(layout.HasPointer);
    EXPECT_EQ(error, "");
}

struct BadCase {
    const char* What;
    std::string Text;
    const char* Error;
};

TEST(WindowTreeLayoutTest, RefusesEveryFaultWithItsLine) {
    const std::string top = "window top - 0 0 0 100 100 Top\n";
    const BadCase cases[] = {
        {"unknown item", "frame a - 0 0 0 1 1 C\n", "line 1: unknown item \"frame\""},
        {"no name", "window\n", "line 1: bad window name"},
        {"name with a slash", "window a/b - 0 0 0 1 1 C\n", "line 1: bad window name"},
        {"name '-'", "window - - 0 0 0 1 1 C\n", "line 1: bad window name"},
        {"name of 33 characters", "window " + std::string(33, 'n') + " - 0 0 0 1 1 C\n", "line 1: bad window name"},
        {"duplicate name", top + "window top - 0 0 0 1 1 C\n", "line 2: window top described twice"},
        {"parent described later", "window a b 0 0 0 1 1 C\nwindow b - 0 0 0 1 1 C\n", "line 1: unknown parent \"b\""},
        {"hung child", top + "hung kid top 0 0 0 1 1 C\n", "line 2: a hung window must be top-level"},
        {"style not a number", "window a - WS_CHILD 0 0 1 1 C\n", "line 1: bad style"},
        {"style beyond 32 bits", "window a - 0x100000000 0 0 1 1 C\n", "line 1: bad style"},
        {"negative style", "window a - -1 0 0 1 1 C\n", "line 1: bad style"},
        {"coordinate too large", "window a - 0 0 0 32768 1 C\n", "line 1: bad rectangle"},
        {"coordinate too small", "window a - 0 -32769 0 1 1 C\n", "line 1: bad rectangle"},
        {"coordinate with junk", "window a - 0 0 0 1x 1 C\n", "line 1: bad rectangle"},
        {"missing coordinate", "window a - 0 0 0 1\n", "line 1: bad rectangle"},
        {"empty width", "window a - 0 5 0 5 1 C\n", "line 1: empty rectangle"},
        {"inverted height", "window a - 0 0 9 1 1 C\n", "line 1: empty rectangle"},
        {"no class", "window a - 0 0 0 1 1   \n", "line 1: bad class name"},
        {"class of 256 characters", "window a - 0 0 0 1 1 " + std::string(256, 'c') + "\n", "line 1: bad class name"},
        {"class with a control character", "window a - 0 0 0 1 1 C\x01X\n", "line 1: bad class name"},
        {"class with a non-ASCII byte", "window a - 0 0 0 1 1 C\xC3\xA9\n", "line 1: bad class name"},
        {"two pointers", "pointer 1 2\npointer 3 4\n", "line 2: a second pointer line"},
        {"pointer without y", "pointer 1\n", "line 1: bad pointer position"},
        {"pointer with more", "pointer 1 2 3\n", "line 1: bad pointer position"},
        {"pointer off range", "pointer 1 40000\n", "line 1: bad pointer position"},
    };
    for (const BadCase& c : cases) {
        TreeLayout layout;
        std::string error;
        EXPECT_FALSE(ParseLayout(c.Text, layout, error)) << c.What;
        EXPECT_EQ(error, c.Error) << c.What;
    }
}

TEST(WindowTreeLayoutTest, TakesSixtyFourWindowsAndNoMore) {
    std::string text;
    for (int i = 0; i < 64; ++i) text += "window w" + std::to_string(i) + " - 0 0 0 1 1 C\n";
    TreeLayout layout;
    std::string error;
    ASSERT_TRUE(ParseLayout(text, layout, error)) << error;
    EXPECT_EQ(layout.Windows.size(), 64u);
    EXPECT_FALSE(ParseLayout(text + "window w64 - 0 0 0 1 1 C\n", layout, error));
    EXPECT_EQ(error, "line 65: more than 64 windows");
}

}  // namespace
