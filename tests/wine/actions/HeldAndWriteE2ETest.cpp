// What a press holds and what a full write streams, seen from outside the
// service: the input recorder shows that an unplug mid-press ends every
// held input once and nothing comes after it, and that presses still become
// input while a stuck debug-output reader holds the system's debug channel;
// the simulated mouse's log shows that a resolution button pressed during a
// full write reaches the mouse after the write's macro stream, which stays
// whole.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "contract/Messages.h"
#include "tests/wine/actions/ActionsRig.h"

namespace {

using namespace e2e;

constexpr std::uint8_t kUsageA = 0x04;
constexpr int kRightButton = 3;
constexpr int kVolumeUp = 25;
constexpr int kMacro = 44;
constexpr int kDpiStageUp = 7;
// The full write's macro area: 07 05 and then this many data reports.
constexpr int kMacroAreaReports = 378;

std::string Dump(const std::vector<RecordedInput>& events) {
    std::ostringstream out;
    for (const auto& e : events) out << "  " << e.t << " " << e.Brief() << "\n";
    return out.str();
}

// Every key and mouse button that went down went up again, in order.
std::string Unbalanced(const std::vector<RecordedInput>& events) {
    std::map<std::string, int> down;
    for (const auto& e : events) {
        std::string what;
        bool up = e.up;
        if (e.key) {
            what = "key " + std::to_string(e.vk);
        } else {
            // Button messages: down 0x201/0x204/0x207/0x20b, up one more;
            // the wheel and moves hold nothing.
            const unsigned downs[] = {0x201, 0x204, 0x207, 0x20b};
            bool button = false;
            for (unsigned d : downs) {
                if (e.msg != d && e.msg != d + 1) continue;
                button = true;
                up = e.msg == d + 1;
                what = "button " + std::to_string(d) + "/" + std::to_string(e.high);
            }
            if (!button) continue;
        }
        down[what] += up ? -1 : 1;
    }
    std::string result;
    for (const auto& [what, count] : down)
        if (count != 0) result += what + " down " + std::to_string(count) + "; ";
    return result;
}

struct HeldKind {
    const char* name;
    Assignment assignment;
};
void PrintTo(const HeldKind& kind, std::ostream* out) { *out << kind.name; }

std::vector<std::uint8_t> TwoEventMacro() {
    std::vector<std::uint8_t> macro = MacroEvent(true, 1, kUsageA);
    const auto release = MacroEvent(false, 1, kUsageA);
    macro.insert(macro.end(), release.begin(), release.end());
    return macro;
}

class HeldWhenUnpluggedE2E : public ::testing::TestWithParam<HeldKind> {
protected:
    void SetUp() override { ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set"; }
    ActionsRig rig;
};

// Pressed, held until input shows, then the mouse is unplugged before the
// release: whatever is down goes up, the repeat stops, and nothing comes
// after that.
TEST_P(HeldWhenUnpluggedE2E, EverythingHeldEndsAndNothingComesAfter) {
    const HeldKind& kind = GetParam();
    const int button = kind.assignment.button;
    rig.Assign({kind.assignment});
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Press(button));
    ASSERT_TRUE(rig.Recorder().WaitForInjected(kind.assignment.function == kRightButton ? 1 : 4, 5000))
        << "the press's input shows";
    ASSERT_TRUE(rig.Control("unplug"));
    const auto settled = rig.Recorder().WaitUntilQuiet(500, 5000);
    EXPECT_EQ(Unbalanced(settled), "") << Dump(settled);
    // Five periods of the repeat and many passes of the macro later: still
    // nothing new.
    Sleep(1000);
    const auto later = rig.Recorder().Injected();
    EXPECT_EQ(later.size(), settled.size()) << Dump(later);
    ASSERT_TRUE(rig.Control("plug"));
    EXPECT_TRUE(rig.CloseService());
}

INSTANTIATE_TEST_SUITE_P(Kinds, HeldWhenUnpluggedE2E,
                         ::testing::Values(HeldKind{"MouseButton", {2, kRightButton}},
                                           HeldKind{"VolumeRepeat", {1, kVolumeUp}},
                                           HeldKind{"WhileHeldMacro", {4, kMacro, 65535, 0, TwoEventMacro()}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The mouse's log: each command ("ff01 07 05 ...") with the number of data
// reports that followed it before the next command.
std::vector<std::pair<std::string, int>> CommandStreams(const std::wstring& log) {
    std::vector<std::pair<std::string, int>> streams;
    for (const auto& line : LogLines(log)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        const std::string event = line.substr(space + 1);
        if (event.rfind("ff01 ", 0) == 0)
            streams.emplace_back(event.substr(5, 5), 0);
        else if (event.rfind("ff00 ", 0) == 0 && !streams.empty())
            ++streams.back().second;
    }
    return streams;
}

std::string Describe(const std::vector<std::pair<std::string, int>>& streams) {
    std::string text;
    for (const auto& [command, data] : streams) text += command + " +" + std::to_string(data) + "\n";
    return text;
}

class WriteE2E : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(InstallFolder().empty()) << "MOUSEHID_INSTALL_DIR is not set"; }
    bool Logged(const std::string& command) {
        for (const auto& s : CommandStreams(rig.MouseLog()))
            if (s.first == command) return true;
        return false;
    }
    ActionsRig rig;
};

TEST_F(WriteE2E, AResolutionButtonDuringAFullWriteReachesTheMouseAfterTheWholeMacroStream) {
    rig.Assign({{5, kDpiStageUp}, {4, kMacro, 1, 0, TwoEventMacro()}});
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(PostMessageW(rig.Service().window, kMsgFullWrite, 0, 0));
    const DWORD start = GetTickCount();
    while (!Logged("07 05") && GetTickCount() - start < 20000) Sleep(5);
    ASSERT_TRUE(Logged("07 05")) << "the write reached its macro area";
    ASSERT_TRUE(rig.Press(5));
    ASSERT_TRUE(rig.Release(5));
    while (!Logged("07 89") && GetTickCount() - start < 40000) Sleep(20);
    const auto streams = CommandStreams(rig.MouseLog());
    std::size_t area = streams.size(), query = streams.size();
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (streams[i].first == "07 05" && area == streams.size()) area = i;
        if (streams[i].first == "07 89") query = i;
    }
    ASSERT_LT(area, streams.size()) << Describe(streams);
    ASSERT_LT(query, streams.size()) << "the button's stage query reached the mouse:\n" << Describe(streams);
    EXPECT_EQ(streams[area].second, kMacroAreaReports) << Describe(streams);
    EXPECT_GT(query, area) << Describe(streams);
    EXPECT_TRUE(rig.CloseService());
}

// A debug viewer that stopped reading holds the system's debug channel: the
// service writes debug lines on every report, and still turns each press
// into input at once, and still shuts down.
TEST_F(WriteE2E, PressesBecomeInputWhileTheDebugChannelIsStuck) {
    rig.Assign({{2, kRightButton}});
    ASSERT_TRUE(rig.Start());
    Process holder = Start(rig.Folder() + L"\\debughold.exe", L"60000");
    ASSERT_NE(holder.handle, nullptr);
    // Held once the mutex exists and is owned by someone else.
    bool held = false;
    for (int i = 0; i < 500 && !held; ++i) {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"DBWinMutex");
        HANDLE buffer = OpenFileMappingW(FILE_MAP_READ, FALSE, L"DBWIN_BUFFER");
        held = mutex != nullptr && buffer != nullptr && WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT;
        if (buffer != nullptr) CloseHandle(buffer);
        if (mutex != nullptr) CloseHandle(mutex);
        if (!held) Sleep(20);
    }
    ASSERT_TRUE(held) << "debughold holds the channel";
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(rig.Press(2));
        ASSERT_TRUE(rig.Release(2));
        EXPECT_TRUE(rig.Recorder().WaitForInjected(2 * (round + 1), 1000)) << "round " << round;
    }
    EXPECT_TRUE(rig.CloseService()) << "the shut-down does not wait for the channel";
    holder.Kill();
    holder.Release();
}

}  // namespace
