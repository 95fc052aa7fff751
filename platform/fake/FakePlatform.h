// In-memory stand-in for the operating system, for host tests: the fake of
// each area of the seam over one shared world (lock, virtual clock, record
// of calls). Tests set up and inspect each area through its member
// (fake.files.AddFile, fake.windows.PostedTo, ...) and the shared record here.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/fake/FakeFiles.h"
#include "platform/fake/FakeGraphics.h"
#include "platform/fake/FakeInput.h"
#include "platform/fake/FakeKernel.h"
#include "platform/fake/FakePreciseClock.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeWindows.h"
#include "platform/fake/FakeWorld.h"

class FakePlatform final : public Platform {
public:
    static constexpr DWORD kMainThreadId = FakeWorld::kMainThreadId;

    FakePlatform() : Platform{kernel, windows, files, shell, input, clock, graphics} {}
    ~FakePlatform() { kernel.StopThreads(); }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeWorld world;
    FakeKernel kernel{world};
    FakeWindows windows{world};
    FakeFiles files{world};
    FakeShell shell{world};
    // Injected input at the virtual time; also kept in the record of calls.
    FakeInput input{[this] { return Now(); }, [this](const std::string& line) { world.Record(line); }};
    // The fine clock on the virtual time: a wait moves the clock on.
    FakePreciseClock clock{[this] { return Now(); }, [this](std::uint64_t ms) { AdvanceClock(ms); }};
    FakeGraphics graphics{world, windows};

    // --- the shared record ---
    std::uint64_t Now() const;
    void AdvanceClock(std::uint64_t milliseconds);
    std::vector<std::string> Calls() const;  // every call, in order, as "Name args"
    // Every call with the virtual time it was made at.
    struct TimedCall {
        std::uint64_t Time;
        std::string Call;
    };
    std::vector<TimedCall> Timeline() const;
    // Index of the first recorded call that starts with `prefix`, or -1.
    int CallIndex(const std::string& prefix) const;
    std::vector<Text> DebugLines() const;
    std::vector<std::uint64_t> Sleeps() const;
    std::uint64_t TotalSlept() const;
    // Waits that could never have ended; empty in a healthy test.
    std::vector<std::string> Hangs() const;
    // Forgets the calls and sleeps recorded so far.
    void ClearCalls();
};
