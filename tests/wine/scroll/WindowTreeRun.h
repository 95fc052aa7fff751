// windowtree.exe from an installation copy, run for one test: it builds the
// windows of a description and logs the messages they receive; the test
// reads the windows' handles and rectangles, the pointer, and the log.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/wine/harness/ServiceHarness.h"

namespace e2e {

class WindowTreeRun {
public:
    WindowTreeRun() = default;
    WindowTreeRun(const WindowTreeRun&) = delete;
    WindowTreeRun& operator=(const WindowTreeRun&) = delete;
    ~WindowTreeRun();

    // Writes the description into `folder`, starts the fixture from there and
    // waits until its windows exist and the pointer is placed.
    bool Start(const std::wstring& folder, const std::string& layout);
    // Stops the fixture once every message that reached its windows is
    // logged, and reads the log.
    bool Stop();
    // Ends the process at once, if it still runs.
    void Kill();

    HWND Handle(const std::string& name) const;
    RECT Rect(const std::string& name) const;
    POINT Pointer() const { return pointer_; }
    // The messages one window received, in order, as logged after its name:
    // "msg=0x0114 wParam=0x1 lParam=0x0 sent=1". Complete after Stop().
    std::vector<std::string> Messages(const std::string& name) const;
    // Every message line of every window ("<name> msg=..."), in order.
    std::vector<std::string> AllMessages() const;

private:
    void ReadLog();

    Process process_;
    std::wstring stopEvent_;
    std::wstring logPath_;
    std::vector<std::string> log_;
    std::map<std::string, HWND> handles_;
    std::map<std::string, RECT> rects_;
    POINT pointer_{};
};

// "0x1a2b", as the fixture writes handles and parameters.
std::string HexText(unsigned long long value);

}  // namespace e2e
