// The browser step's decisions: what happens when the library, the browser's
// answer, the document, the script window or scrollBy fails.
#include <gtest/gtest.h>

#include <functional>

#include "ScrollRig.h"
#include "scroll/BrowserScrolling.h"

namespace {

using scrolltest::SameCalls;
using scrolltest::ScrollRig;
using scrolltest::WindowSpec;
using Calls = std::vector<std::string>;

constexpr HRESULT kFail = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT kChangedMode = static_cast<HRESULT>(0x80010106u);
constexpr HRESULT kFalse = 1;

std::vector<WindowSpec> Tree() {
    return {WindowSpec{"shell", "", u"Shell DocObject View", 0, RECT{0, 0, 1000, 800}},
            WindowSpec{"view", "shell", u"Internet Explorer_Server", 0, RECT{0, 0, 1000, 800}},
            WindowSpec{"other", "", u"PlainView", WS_HSCROLL, RECT{1000, 0, 2000, 800}}};
}

const std::string kOpen[] = {"CoInitialize", "LoadLibraryW OLEACC.DLL"};
const std::string kClose[] = {"FreeLibrary library", "CoUninitialize"};

Calls Sequence(std::initializer_list<std::string> middle, bool uninitialise = true) {
    Calls all{kOpen[0], kOpen[1]};
    all.insert(all.end(), middle.begin(), middle.end());
    all.push_back(kClose[0]);
    if (uninitialise) all.push_back(kClose[1]);
    return all;
}

const std::string kAsk = "RegisterWindowMessageW WM_HTML_GETOBJECT";
const std::string kSendAsk = "Send view 0xc0de 0x0 0x0 flags=0x2 timeout=1000";
const std::string kObject = "ObjectFromLresult library 0x5150";
const std::string kScript = "get_Script document";
const std::string kQuery = "QueryInterface IHTMLWindow2 script";
const std::string kFallbackLeft = "Send view WM_HSCROLL 0x0 0x0 flags=0x2 timeout=200";
const std::string kFallbackRight = "Send view WM_HSCROLL 0x1 0x0 flags=0x2 timeout=200";

struct BrowserCase {
    const char* What;
    std::function<void(ScrollRig&)> Arrange;
    int N;
    bool ToLeft;
    Calls Expected;
};

const BrowserCase kBrowserCases[] = {
    {"scrollBy succeeds to the left", [](ScrollRig&) {}, 1, true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window -10,0", "Release window", "Release script",
               "Release document"})},
    {"scrollBy succeeds to the right, three steps at once", [](ScrollRig&) {}, 3, false,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window 30,0", "Release window", "Release script",
               "Release document"})},
    {"scrollBy fails: scroll messages instead", [](ScrollRig& r) { r.Browser.ScrollResult = kFail; }, 2, true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window -20,0", kFallbackLeft, kFallbackLeft,
               "Release window", "Release script", "Release document"})},
    {"scrollBy answers S_FALSE: scroll messages as well", [](ScrollRig& r) { r.Browser.ScrollResult = kFalse; }, 1,
     false,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window 10,0", kFallbackRight, "Release window",
               "Release script", "Release document"})},
    {"scrollBy fails for no steps: nothing to fall back to", [](ScrollRig& r) { r.Browser.ScrollResult = kFail; }, 0,
     true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window 0,0", "Release window", "Release script",
               "Release document"})},
    {"fallback stops at the first unanswered send",
     [](ScrollRig& r) {
         r.Browser.ScrollResult = kFail;
         r.Sender.SendsAnswered = 2;  // the document request and one scroll message
     },
     4, true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window -40,0", kFallbackLeft, kFallbackLeft,
               "Release window", "Release script", "Release document"})},
    {"library missing", [](ScrollRig& r) { r.Browser.LibraryLoads = false; }, 1, true,
     {"CoInitialize", "LoadLibraryW OLEACC.DLL", "CoUninitialize"}},
    {"window message cannot be registered", [](ScrollRig& r) { r.Browser.GetObjectMessage = 0; }, 1, true,
     Sequence({kAsk})},
    {"browser does not answer in time", [](ScrollRig& r) { r.Sender.SendsAnswered = 0; }, 1, true,
     Sequence({kAsk, kSendAsk})},
    {"document object missing", [](ScrollRig& r) { r.Browser.DocumentResult = kFail; }, 1, true,
     Sequence({kAsk, kSendAsk, kObject})},
    {"script object missing", [](ScrollRig& r) { r.Browser.ScriptResult = kFail; }, 1, true,
     Sequence({kAsk, kSendAsk, kObject, kScript, "Release document"})},
    {"window interface missing", [](ScrollRig& r) { r.Browser.WindowResult = kFail; }, 1, true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "Release script", "Release document"})},
    {"a failing call's object is not trusted, not even to release it",
     [](ScrollRig& r) {
         r.Browser.WindowResult = kFail;
         r.Browser.ObjectDespiteFailure = true;
     },
     1, true, Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "Release script", "Release document"})},
    {"COM already initialised on the thread: still balanced", [](ScrollRig& r) { r.Browser.InitResult = kFalse; }, 1,
     true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window -10,0", "Release window", "Release script",
               "Release document"})},
    {"thread in another apartment: not uninitialised", [](ScrollRig& r) { r.Browser.InitResult = kChangedMode; }, 1,
     true,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window -10,0", "Release window", "Release script",
               "Release document"},
              false)},
    {"pointer no longer over a browser view", [](ScrollRig& r) { r.PointAt(1500, 400); }, 1, true, Sequence({})},
    {"pointer position unknown", [](ScrollRig& r) { r.Sender.CursorKnown = false; }, 1, true, Sequence({})},
    {"step count cut to the most one request delivers", [](ScrollRig&) {}, 1000, false,
     Sequence({kAsk, kSendAsk, kObject, kScript, kQuery, "scrollBy window 1000,0", "Release window", "Release script",
               "Release document"})},
};

class BrowserScrollingTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BrowserScrollingTest, MakesTheExpectedCalls) {
    const BrowserCase& c = kBrowserCases[GetParam()];
    ScrollRig rig(Tree());
    rig.PointAt(500, 400);
    rig.Sender.Answer = 0x5150;
    c.Arrange(rig);
    scroll::ScrollBrowserHorizontally(rig.System(), c.N, c.ToLeft);
    EXPECT_TRUE(SameCalls(c.Expected, rig.Calls)) << "case: " << c.What;
    EXPECT_EQ(rig.Browser.Outstanding, 0) << "case: " << c.What;
}

INSTANTIATE_TEST_SUITE_P(Decisions, BrowserScrollingTest,
                         ::testing::Range<std::size_t>(0, sizeof kBrowserCases / sizeof kBrowserCases[0]));

}  // namespace
