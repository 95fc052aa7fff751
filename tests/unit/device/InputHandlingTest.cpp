// The input callback's handling of one report: its debug lines, the
// wheel-scroll-characters value, routing, and the read-back collection.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/HidApiBinding.h"
#include "device/InputHandling.h"
#include "device/ReadBackCollector.h"
#include "hidsim/Secrecy.h"
#include "platform/fake/FakePlatform.h"

namespace {

class RecordingRoutes final : public InputRoutes {
public:
    void ButtonPressed(int i) override { calls.push_back("ButtonPressed " + std::to_string(i)); }
    void ButtonReleased(int i) override { calls.push_back("ButtonReleased " + std::to_string(i)); }
    void LaunchAssignedProgram(int i) override { calls.push_back("Launch " + std::to_string(i)); }
    void SendWheelUp() override { calls.push_back("WheelUp"); }
    void SendWheelDown() override { calls.push_back("WheelDown"); }
    void ScrollUnderPointer(int n) override { calls.push_back("Scroll " + std::to_string(n)); }
    void ZoomIn() override { calls.push_back("ZoomIn"); }
    void ZoomOut() override { calls.push_back("ZoomOut"); }
    std::vector<std::string> calls;
};

int Decode(std::uint8_t* frame) {
    secrecy::DecodeFrame(frame);
    return 1;
}

class InputHandlingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        ReadBack.Reset();
        HidApiBinding = HidApiBindingTable{};
        HidApiBinding.DecodeSecrecy_V11 = reinterpret_cast<void*>(&Decode);
    }
    void TearDown() override {
        HidApiBinding = HidApiBindingTable{};
        SetPlatform(nullptr);
    }
    void Handle(std::vector<std::uint8_t> report, DWORD id = 0x2A01) {
        HandleInputReport(context, id, report.data(), report.size());
    }

    FakePlatform fake;
    RecordingRoutes routes;
    std::atomic<std::int32_t> shortBusy{0};
    std::atomic<std::int32_t> bulkBusy{0};
    InputContext context{&routes, &shortBusy, &bulkBusy};
};

TEST_F(InputHandlingTest, ReleaseWritesItsLinesAndRoutes) {
    const std::vector<std::uint8_t> report{0, 7, 0x42, 0xAB, 3, 0, 0, 0, 0};
    HandleInputReport(context, 0x2A01, report.data(), report.size());
    char first[64];
    std::snprintf(first, sizeof first, "ID:2a01,pBuffer=%llx , Length=9\n",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(report.data())));
    EXPECT_EQ(fake.DebugLines(),
              (std::vector<Text>{TextFromUtf8(first), u"00 07 42 ab 03 00 00 00 00\n", u"1"}));
    EXPECT_EQ(routes.calls, (std::vector<std::string>{"ButtonReleased 3"}));
}

TEST_F(InputHandlingTest, ShortReportsPrintZerosBeyondTheirLength) {
    Handle({3, 0xF4});
    ASSERT_EQ(fake.DebugLines().size(), 2u);
    EXPECT_EQ(fake.DebugLines()[1], u"03 f4 00 00 00 00 00 00 00\n");
    EXPECT_EQ(routes.calls, (std::vector<std::string>{"ZoomIn"}));
}

TEST_F(InputHandlingTest, HorizontalScrollUsesTheSettingReadForEachReport) {
    fake.windows.SetWheelScrollChars(5u);
    Handle({3, 0xF2});
    Handle({3, 0xF3});
    fake.windows.SetWheelScrollChars(std::nullopt);
    Handle({3, 0xF2});
    EXPECT_EQ(routes.calls, (std::vector<std::string>{"Scroll 5", "Scroll -5", "Scroll 3"}));
    int queries = 0;
    for (const auto& call : fake.Calls()) queries += call == "SystemParametersInfoW 0x6c";
    EXPECT_EQ(queries, 3);
}

TEST_F(InputHandlingTest, FourthReportAfterARequestEndsTheCollection) {
    shortBusy.store(1);
    std::vector<std::vector<std::uint8_t>> sent;
    for (int k = 0; k < 4; ++k) {
        std::vector<std::uint8_t> frame{5, 0, 0, 0, 0, 0, 0, 0, 0};
        for (int i = 1; i <= 8; ++i) frame[i] = static_cast<std::uint8_t>(k * 16 + i);
        secrecy::EncodeFrame(frame.data());
        Handle(frame);
        EXPECT_EQ(shortBusy.load(), k < 3 ? 1 : 0) << k;
    }
    const auto block = ReadBack.Block();
    for (int k = 0; k < 4; ++k)
        for (int i = 1; i <= 8; ++i) EXPECT_EQ(block[k * 8 + i - 1], k * 16 + i);
    EXPECT_EQ(block[32], 0);
    EXPECT_EQ(ReadBack.Counter(), 0);
    // Not collecting now: the next report changes nothing.
    Handle({5, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(ReadBack.Block(), block);
}

TEST_F(InputHandlingTest, GatheredButtonReportIsRoutedFromItsRawBytes) {
    shortBusy.store(1);
    Handle({0, 7, 0x42, 0, 2, 1, 0, 0, 0});
    EXPECT_EQ(routes.calls, (std::vector<std::string>{"ButtonPressed 2"}));
    std::uint8_t expected[9] = {0, 7, 0x42, 0, 2, 1, 0, 0, 0};
    secrecy::DecodeFrame(expected);
    const auto block = ReadBack.Block();
    EXPECT_EQ(0, std::memcmp(block.data(), expected + 1, 8));
    EXPECT_EQ(ReadBack.Counter(), 1);
}

TEST_F(InputHandlingTest, OddLengthsCopyAtMostTheirPayload) {
    struct Case {
        std::size_t length;
        std::size_t copied;
    };
    const Case cases[] = {{0, 0}, {1, 0}, {2, 1}, {5, 4}, {9, 8}, {64, 8}, {5000, 8}};
    HidApiBinding.DecodeSecrecy_V11 = nullptr;  // the raw bytes land in the block
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        ReadBack.Reset();
        shortBusy.store(1);
        std::vector<std::uint8_t> report(c.length, 0xEE);
        HandleInputReport(context, 1, c.length ? report.data() : nullptr, c.length);
        const auto block = ReadBack.Block();
        for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(block[i], i < c.copied ? 0xEE : 0) << i;
        EXPECT_EQ(ReadBack.Counter(), 1);
    }
}

TEST_F(InputHandlingTest, BulkCollectionRunsOnlyWhileTheShortOneIsIdle) {
    bulkBusy.store(1);
    for (int k = 0; k < 192; ++k) {
        std::vector<std::uint8_t> frame(9, static_cast<std::uint8_t>(k));
        frame[0] = 5;
        secrecy::EncodeFrame(frame.data());
        Handle(frame);
        if (k == 10) {  // a short collection in between takes precedence
            shortBusy.store(1);
            for (int s = 0; s < 4; ++s) Handle({5, 0, 0, 0, 0, 0, 0, 0, 0});
            EXPECT_EQ(shortBusy.load(), 0);
        }
    }
    EXPECT_EQ(bulkBusy.load(), 0);
    const auto bulk = ReadBack.BulkBlock();
    EXPECT_EQ(bulk[0], 0);
    EXPECT_EQ(bulk[191 * 8 + 7], 191);
    EXPECT_EQ(bulk[11 * 8], 11);
}

TEST_F(InputHandlingTest, NullRoutesStillLogAndCollect) {
    context.Routes = nullptr;
    shortBusy.store(1);
    Handle({0, 7, 0x42, 0, 2, 0, 0, 0, 0});
    EXPECT_EQ(fake.DebugLines().size(), 3u);
    EXPECT_EQ(ReadBack.Counter(), 1);
}

}  // namespace
