// The message map's entry forms and chaining: which handler runs, what it
// receives, and where an unhandled message goes on to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/MessageMap.h"

namespace {

constexpr UINT kFirst = WM_USER + 1;
constexpr UINT kSecond = WM_USER + 2;
constexpr UINT kPassedOn = WM_USER + 3;

std::vector<std::string> g_calls;

class Feature {
public:
    explicit Feature(const char* name) : name_(name) {}
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    UINT_PTR ownTimer = 0;

private:
    LRESULT OnFirst(WPARAM wParam, BOOL&) {
        g_calls.push_back(name_ + " first " + std::to_string(wParam));
        return static_cast<LRESULT>(wParam) * 2;
    }
    LRESULT OnPassedOn(WPARAM, BOOL& handled) {
        g_calls.push_back(name_ + " looked");
        handled = FALSE;
        return 99;
    }
    void OnTimer(UINT_PTR id, BOOL& handled) {
        if (id != ownTimer) {
            handled = FALSE;
            return;
        }
        g_calls.push_back(name_ + " timer " + std::to_string(id));
    }
    static const MessageMapEntry<Feature> kMessageMap[];
    std::string name_;
};

const MessageMapEntry<Feature> Feature::kMessageMap[] = {
    OnWParam<&Feature::OnFirst>(kFirst),
    OnWParam<&Feature::OnPassedOn>(kPassedOn),
    OnTimerId<&Feature::OnTimer>(),
};

bool Feature::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

class Window {
public:
    bool Process(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    Feature one{"one"};
    Feature two{"two"};

private:
    LRESULT OnSecond(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
        g_calls.push_back("window " + std::to_string(message - WM_USER) + " " + std::to_string(wParam) + " " +
                          std::to_string(lParam));
        return 7;
    }
    static const MessageMapEntry<Window> kMessageMap[];
};

const MessageMapEntry<Window> Window::kMessageMap[] = {
    ChainToMember<&Window::one>(),
    OnMessage(kSecond, &Window::OnSecond),
    ChainToMember<&Window::two>(),
};

bool Window::Process(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(this, kMessageMap, message, wParam, lParam, result);
}

struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool handled;
    LRESULT result;
    std::vector<std::string> calls;
};

TEST(MessageMapTest, EntriesRunInOrderAndUnhandledMessagesGoOn) {
    const Case cases[] = {
        // The first chained member takes it; the second never sees it.
        {"first member", kFirst, 21, true, 42, {"one first 21"}},
        // An entry of the window itself, with all four parameters.
        {"window entry", kSecond, 3, true, 7, {"window 2 3 5"}},
        // Each member looks and passes it on; nobody handles it.
        {"passed on", kPassedOn, 0, false, -1, {"one looked", "two looked"}},
        // A timer id only the second member owns.
        {"second member's timer", WM_TIMER, 1001, true, 0, {"two timer 1001"}},
        // A timer nobody owns.
        {"unowned timer", WM_TIMER, 5, false, -1, {}},
        {"unknown message", WM_USER + 50, 0, false, -1, {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        g_calls.clear();
        Window window;
        window.one.ownTimer = 1000;
        window.two.ownTimer = 1001;
        LRESULT result = -1;
        EXPECT_EQ(window.Process(c.message, c.wParam, 5, result), c.handled) << "case " << i << ": " << c.name;
        EXPECT_EQ(result, c.result) << "case " << i << ": " << c.name;
        EXPECT_EQ(g_calls, c.calls) << "case " << i << ": " << c.name;
    }
}

}  // namespace
