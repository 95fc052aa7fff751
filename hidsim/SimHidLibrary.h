// The simulated HidDevice.dll: the contract of ordinals 2 to 9 over one
// SimMouse, with plug and unplug, collection notifications, a log of every
// received report, and a thread of its own that delivers input reports to the
// registered callback. The same class runs inside our HidDevice.dll on
// Windows and behind the fake platform's modules on the host.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceProtocol.h"
#include "hidsim/SimMouse.h"

// How the library reaches the registered window. Send delivers at once;
// Post queues the message. Either way lParam is a notice number that the
// receiver redeems with ReadNotice (ordinal 9).
class SimNotifier {
public:
    virtual ~SimNotifier() = default;
    virtual void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// When an input report was produced (queued by a press) and handed to the
// callback, on the library's fine clock.
struct SimInputTiming {
    std::uint64_t produced = 0;
    std::uint64_t delivered = 0;
};

class SimHidLibrary {
public:
    using Clock = std::function<std::uint64_t()>;
    // Receives one text line per received report and per plug event.
    using LogSink = std::function<void(const std::string& line)>;

    SimHidLibrary(SimNotifier& notifier, Clock clock, bool plugged);
    ~SimHidLibrary();
    SimHidLibrary(const SimHidLibrary&) = delete;
    SimHidLibrary& operator=(const SimHidLibrary&) = delete;

    void SetLogSink(LogSink sink);
    // A fine clock (microseconds) for the input reports' times; none is kept
    // until it is set. Only the latest kKeptInputTimings are kept.
    void SetFineClock(Clock clock);
    static constexpr std::size_t kKeptInputTimings = 4096;
    std::vector<SimInputTiming> InputTimings() const;
    // What the mouse answers from now on.
    void SetAnswers(const SimMouseAnswers& answers);

    // --- the ordinals ---
    int SetMatch(const DWORD* matchRecord);                           // 7
    int SetCallback(HidInputCallback callback);                       // 8
    int Open(HWND window, UINT message);                              // 2
    int Close();                                                      // 3
    int WriteData(DWORD deviceId, const BYTE* bytes, DWORD length);   // 4
    int WriteCommand(DWORD deviceId, const BYTE* bytes, DWORD length);// 5
    int ReadReply(DWORD deviceId, BYTE* buffer, DWORD length);        // 6
    // Copies the record of pending notice `notice` and forgets the notice;
    // 0 for any other value (nothing is written).
    int ReadNotice(LPARAM notice, _DEVICE_STATE* record);               // 9
    // Notices announced and not yet read.
    std::size_t PendingNotices() const;

    // --- control ---
    void Plug();
    void Unplug();
    bool Plugged() const;
    // Queues an input report for the delivery thread; false when the mouse
    // is not open (unplugged or released), in which case it is dropped.
    // Posts a collection notification with any record to the registered
    // window (a collection the mouse does not have, for tests of the
    // receiver); false when no window is registered.
    bool Announce(const _DEVICE_STATE& record);
    bool SendInputReport(std::vector<std::uint8_t> report);
    bool PressButton(int index) { return SendInputReport(SimButtonReport(index, true)); }
    bool ReleaseButton(int index) { return SendInputReport(SimButtonReport(index, false)); }
    // Blocks until every queued input report has been handed to the callback
    // and the callback has returned.
    void WaitUntilDelivered();

    std::vector<SimReceivedReport> ReceivedReports() const;
    void ClearReceivedReports();
    SimMemory Memory() const;
    // How often an ordinal was called (accepted or not).
    int CallCount(WORD ordinal) const;

private:
    struct Notice {
        HWND Window;
        UINT Message;
        LPARAM Number;
    };
    // Notices no window has read are dropped, oldest first, beyond this many.
    static constexpr std::size_t kMaxPendingNotices = 64;

    bool ConnectedLocked() const { return plugged_ && registered_ && matched_; }
    DWORD UsageOfLocked(DWORD deviceId) const;
    // Notices for both collections, pending until read.
    std::vector<Notice> NoticesLocked(DWORD state);
    // Keeps one notice pending and gives its number.
    LPARAM AddNoticeLocked(const _DEVICE_STATE& record);
    void Receive(DWORD usage, const BYTE* bytes, DWORD length);
    // A report to whichever collection `deviceId` names (the collection
    // decides), counted as a call of `ordinal`.
    int Write(WORD ordinal, DWORD deviceId, const BYTE* bytes, DWORD length);
    // Keeps a line for the sink; lock_ held.
    void LogLine(const std::string& line);
    void NoteInputTiming(const SimInputTiming& timing);
    // Hands the kept lines to the sink, in order, with lock_ released: the
    // sink may call back into the library (a test presses a button when the
    // mouse has received so many reports).
    void FlushLog();
    void DeliveryLoop();

    SimNotifier& notifier_;
    Clock clock_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    SimMouse mouse_;
    bool plugged_;
    bool matched_ = false;
    // From ordinal 2 to ordinal 3: the window that hears of every collection
    // that opens or closes, also of a mouse plugged in after a failed open.
    bool registered_ = false;
    HWND window_ = nullptr;
    UINT message_ = 0;
    HidInputCallback callback_ = nullptr;
    std::deque<std::pair<LPARAM, _DEVICE_STATE>> notices_;  // pending, oldest first
    LPARAM lastNotice_ = 0;
    std::vector<SimReceivedReport> received_;
    LogSink logSink_;
    std::vector<std::string> pendingLog_;
    std::recursive_mutex sinkOrder_;  // one flush at a time keeps the lines in order
    int calls_[kOrdinalReadNotice + 1] = {};

    struct QueuedReport {
        std::vector<std::uint8_t> Bytes;
        std::uint64_t Produced = 0;  // on fineClock_; 0 without it
    };
    std::deque<QueuedReport> inputQueue_;
    Clock fineClock_;
    std::deque<SimInputTiming> inputTimings_;
    bool delivering_ = false;
    bool stopping_ = false;
    std::thread deliveryThread_;
};
