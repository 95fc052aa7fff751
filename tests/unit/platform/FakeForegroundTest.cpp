// The fake's processes and foreground events behave as the system's do in
// what the foreground watch relies on.
#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <thread>

#include "platform/fake/FakePlatform.h"

namespace {

class FakeForegroundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
    }
    void TearDown() override { SetPlatform(nullptr); }
    FakePlatform fake;
};

TEST_F(FakeForegroundTest, ASnapshotListsEveryProcessOnceByFileName) {
    fake.kernel.AddProcess(10, u"C:\\A\\one.exe");
    fake.kernel.AddProcess(11, u"two.exe");
    HANDLE snapshot = fake.kernel.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, nullptr);
    fake.kernel.AddProcess(12, u"later.exe");  // not in a snapshot taken before
    ProcessEntry entry;
    EXPECT_FALSE(fake.kernel.Process32NextW(snapshot, &entry)) << "First comes first";
    std::vector<std::pair<DWORD, Text>> seen;
    for (BOOL more = fake.kernel.Process32FirstW(snapshot, &entry); more;
         more = fake.kernel.Process32NextW(snapshot, &entry))
        seen.emplace_back(entry.th32ProcessID, entry.szExeFile);
    EXPECT_EQ(seen, (std::vector<std::pair<DWORD, Text>>{
                        {FakeKernel::kOwnProcessId, u"mousehid.exe"}, {10, u"one.exe"}, {11, u"two.exe"}}));
    EXPECT_FALSE(fake.kernel.Process32NextW(snapshot, &entry));
    EXPECT_EQ(fake.kernel.OpenSnapshotCount(), 1);
    fake.kernel.CloseHandle(snapshot);
    EXPECT_EQ(fake.kernel.OpenSnapshotCount(), 0);
    EXPECT_FALSE(fake.kernel.Process32FirstW(snapshot, &entry)) << "closed";
    fake.kernel.FailSnapshots(true);
    EXPECT_EQ(fake.kernel.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), nullptr);
}

TEST_F(FakeForegroundTest, OpeningAProcessForItsImage) {
    fake.kernel.AddProcess(10, u"C:\\A\\one.exe");
    fake.kernel.AddProcess(11, u"C:\\B\\guarded.exe", false);
    HANDLE one = fake.kernel.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 10);
    ASSERT_NE(one, nullptr);
    Text path;
    EXPECT_TRUE(fake.kernel.QueryFullProcessImageNameW(one, &path));
    EXPECT_EQ(path, u"C:\\A\\one.exe");
    EXPECT_EQ(fake.kernel.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 11), nullptr);
    EXPECT_EQ(fake.kernel.GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(fake.kernel.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 99), nullptr);
    fake.kernel.RemoveProcess(10);
    EXPECT_FALSE(fake.kernel.QueryFullProcessImageNameW(one, &path)) << "ended since it was opened";
    EXPECT_EQ(fake.kernel.OpenProcessHandleCount(), 1);
    fake.kernel.CloseHandle(one);
    EXPECT_EQ(fake.kernel.OpenProcessHandleCount(), 0);
}

class Own final : public WindowMessageTarget {
public:
    LRESULT HandleWindowMessage(HWND, UINT message, WPARAM, LPARAM) override { return message == WM_NCCREATE; }
};

TEST_F(FakeForegroundTest, ForegroundEventsWaitForTheHookingThreadsMessages) {
    Own own;
    HWND mine = fake.windows.CreateWindowExW(WindowCreation{}, &own);
    HWND other = fake.windows.AddForeignWindow(u"Other");
    fake.windows.SetWindowProcess(other, 77);
    EXPECT_EQ(fake.windows.GetWindowProcessId(other), 77u);
    EXPECT_EQ(fake.windows.GetWindowProcessId(mine), FakeKernel::kOwnProcessId);

    std::vector<std::pair<DWORD, HWND>> events;
    HANDLE hook = fake.windows.SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND,
                                               [&](DWORD event, HWND hwnd) { events.emplace_back(event, hwnd); });
    ASSERT_NE(hook, nullptr);
    fake.windows.SetForeground(other);
    EXPECT_TRUE(events.empty()) << "delivered when the thread takes its messages";
    fake.windows.PumpMessages();
    EXPECT_EQ(events, (std::vector<std::pair<DWORD, HWND>>{{EVENT_SYSTEM_FOREGROUND, other}}));
    EXPECT_EQ(fake.windows.FindWindowW(u"FakeWinEventTarget", Text()), nullptr) << "the hook's carrier is no window to find";

    fake.windows.SetForeground(mine);  // the service's own process: skipped
    fake.windows.PumpMessages();
    EXPECT_EQ(events.size(), 1u);

    // Another thread's pumping does not deliver this thread's events.
    fake.windows.SetForeground(other);
    std::thread([&] { fake.windows.PumpMessages(); }).join();
    EXPECT_EQ(events.size(), 1u);
    fake.windows.PumpMessages();
    EXPECT_EQ(events.size(), 2u);

    EXPECT_TRUE(fake.windows.UnhookWinEvent(hook));
    EXPECT_FALSE(fake.windows.UnhookWinEvent(hook));
    fake.windows.SetForeground(other);
    fake.windows.PumpMessages();
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(FakeForegroundTest, OnlyEventsInTheHooksRangeAreDelivered) {
    HWND other = fake.windows.AddForeignWindow(u"Other");
    int calls = 0;
    fake.windows.SetWinEventHook(0x8000, 0x8001, [&](DWORD, HWND) { ++calls; });
    fake.windows.SetForeground(other);
    fake.windows.PumpMessages();
    EXPECT_EQ(calls, 0);
}

}  // namespace
