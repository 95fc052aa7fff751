#include "hidsim/SimHidLibrary.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kCollectionIds[] = {kSimCommandDeviceId, kSimDataDeviceId};
constexpr DWORD kCollectionUsages[] = {kCommandUsage, kDataUsage};

}  // namespace

SimHidLibrary::SimHidLibrary(SimNotifier& notifier, Clock clock, bool plugged)
    : notifier_(notifier), clock_(std::move(clock)), plugged_(plugged) {
    deliveryThread_ = std::thread([this] { DeliveryLoop(); });
}

SimHidLibrary::~SimHidLibrary() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (deliveryThread_.joinable()) deliveryThread_.join();
}

void SimHidLibrary::SetLogSink(LogSink sink) {
    std::lock_guard<std::mutex> guard(lock_);
    logSink_ = std::move(sink);
}

void SimHidLibrary::SetFineClock(Clock clock) {
    std::lock_guard<std::mutex> guard(lock_);
    fineClock_ = std::move(clock);
}

void SimHidLibrary::NoteInputTiming(const SimInputTiming& timing) {
    std::lock_guard<std::mutex> guard(lock_);
    if (inputTimings_.size() == kKeptInputTimings) inputTimings_.pop_front();
    inputTimings_.push_back(timing);
}

std::vector<SimInputTiming> SimHidLibrary::InputTimings() const {
    std::lock_guard<std::mutex> guard(lock_);
    return std::vector<SimInputTiming>(inputTimings_.begin(), inputTimings_.end());
}

void SimHidLibrary::LogLine(const std::string& line) {
    if (logSink_) pendingLog_.push_back(line);
}

void SimHidLibrary::FlushLog() {
    std::lock_guard<std::recursive_mutex> order(sinkOrder_);
    std::vector<std::string> lines;
    LogSink sink;
    {
        std::lock_guard<std::mutex> guard(lock_);
        lines.swap(pendingLog_);
        sink = logSink_;
    }
    if (sink)
        for (const std::string& line : lines) sink(line);
}

int SimHidLibrary::SetMatch(const DWORD* matchRecord) {
    std::lock_guard<std::mutex> guard(lock_);
    ++calls_[kOrdinalSetMatch];
    matched_ = matchRecord != nullptr && matchRecord[0] == kVendorId && matchRecord[1] == kProductId;
    return matched_ ? 1 : 0;
}

int SimHidLibrary::SetCallback(HidInputCallback callback) {
    std::lock_guard<std::mutex> guard(lock_);
    ++calls_[kOrdinalSetCallback];
    callback_ = callback;
    return 1;
}

std::vector<SimHidLibrary::Notice> SimHidLibrary::NoticesLocked(DWORD state) {
    std::vector<Notice> notices;
    for (std::size_t i = 0; i < 2; ++i) {
        const LPARAM number = AddNoticeLocked(_DEVICE_STATE{state, kCollectionIds[i], 0, kCollectionUsages[i]});
        notices.push_back(Notice{window_, message_, number});
    }
    return notices;
}

LPARAM SimHidLibrary::AddNoticeLocked(const _DEVICE_STATE& record) {
    // Numbers run from 1 to 0xFFFF and start again; the bound on pending
    // notices keeps a number from being handed out twice at once.
    lastNotice_ = lastNotice_ >= kLastNotice ? kFirstNotice : lastNotice_ + 1;
    if (notices_.size() >= kMaxPendingNotices) notices_.pop_front();
    notices_.emplace_back(lastNotice_, record);
    return lastNotice_;
}

int SimHidLibrary::ReadNotice(LPARAM notice, _DEVICE_STATE* record) {
    std::lock_guard<std::mutex> guard(lock_);
    ++calls_[kOrdinalReadNotice];
    if (record == nullptr || notice < kFirstNotice || notice > kLastNotice) return 0;
    for (auto it = notices_.begin(); it != notices_.end(); ++it) {
        if (it->first != notice) continue;
        *record = it->second;
        notices_.erase(it);
        return 1;
    }
    return 0;
}

std::size_t SimHidLibrary::PendingNotices() const {
    std::lock_guard<std::mutex> guard(lock_);
    return notices_.size();
}

void SimHidLibrary::SetAnswers(const SimMouseAnswers& answers) {
    std::lock_guard<std::mutex> guard(lock_);
    mouse_.SetAnswers(answers);
}

int SimHidLibrary::Open(HWND window, UINT message) {
    std::vector<Notice> notices;
    bool connected = false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        ++calls_[kOrdinalOpen];
        registered_ = true;
        window_ = window;
        message_ = message;
        inputQueue_.clear();
        connected = ConnectedLocked();
        if (!connected) {
            LogLine(std::to_string(clock_()) + " open 0");
        } else {
            LogLine(std::to_string(clock_()) + " open 1");
            notices = NoticesLocked(kCollectionOpened);
        }
    }
    FlushLog();
    if (!connected) return 0;
    // Sent, not posted: the caller's collection list is filled when open returns.
    for (const Notice& n : notices)
        notifier_.Send(n.Window, n.Message, kCollectionNotification, n.Number);
    return 1;
}

int SimHidLibrary::Close() {
    std::unique_lock<std::mutex> lk(lock_);
    ++calls_[kOrdinalClose];
    registered_ = false;
    inputQueue_.clear();
    LogLine(std::to_string(clock_()) + " close");
    // Once close returns no callback runs any more: a caller on another
    // thread waits for the one in progress. From the callback's own thread
    // there is nothing to wait for, and waiting would deadlock.
    if (std::this_thread::get_id() != deliveryThread_.get_id())
        changed_.wait(lk, [this] { return !delivering_; });
    lk.unlock();
    FlushLog();
    return 1;
}

DWORD SimHidLibrary::UsageOfLocked(DWORD deviceId) const {
    for (std::size_t i = 0; i < 2; ++i)
        if ((deviceId & 0xFFFF) == kCollectionIds[i]) return kCollectionUsages[i];
    return 0;
}

void SimHidLibrary::Receive(DWORD usage, const BYTE* bytes, DWORD length) {
    SimReceivedReport report;
    report.Time = clock_();
    report.Usage = usage;
    std::memcpy(report.Bytes.data(), bytes, std::min<std::size_t>(length, kReportSize));
    received_.push_back(report);
    LogLine(FormatReceivedReport(report));
    if (usage == kCommandUsage)
        mouse_.ReceiveCommand(report.Bytes.data());
    else
        mouse_.ReceiveData(report.Bytes.data());
    auto produced = mouse_.TakeProducedReports();
    if (!produced.empty()) {
        for (auto& r : produced) inputQueue_.push_back({std::move(r), fineClock_ ? fineClock_() : 0});
        changed_.notify_all();
    }
}

int SimHidLibrary::WriteData(DWORD deviceId, const BYTE* bytes, DWORD length) {
    return Write(kOrdinalWriteData, deviceId, bytes, length);
}

int SimHidLibrary::WriteCommand(DWORD deviceId, const BYTE* bytes, DWORD length) {
    return Write(kOrdinalWriteCommand, deviceId, bytes, length);
}

int SimHidLibrary::Write(WORD ordinal, DWORD deviceId, const BYTE* bytes, DWORD length) {
    int written = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        ++calls_[ordinal];
        const DWORD usage = UsageOfLocked(deviceId);
        if (ConnectedLocked() && usage != 0 && bytes != nullptr) {
            Receive(usage, bytes, length);
            written = 1;
        }
    }
    FlushLog();
    return written;
}

int SimHidLibrary::ReadReply(DWORD deviceId, BYTE* buffer, DWORD length) {
    std::lock_guard<std::mutex> guard(lock_);
    ++calls_[kOrdinalReadReply];
    if (!ConnectedLocked() || UsageOfLocked(deviceId) != kCommandUsage || buffer == nullptr) return 0;
    std::uint8_t reply[kReportSize];
    if (!mouse_.Reply(reply)) return 0;
    std::memcpy(buffer, reply, std::min<std::size_t>(length, kReportSize));
    return 1;
}

void SimHidLibrary::Plug() {
    std::vector<Notice> notices;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (plugged_) return;
        plugged_ = true;
        LogLine(std::to_string(clock_()) + " plug");
        if (ConnectedLocked()) notices = NoticesLocked(kCollectionOpened);
    }
    FlushLog();
    for (const Notice& n : notices)
        notifier_.Post(n.Window, n.Message, kCollectionNotification, n.Number);
}

void SimHidLibrary::Unplug() {
    std::vector<Notice> notices;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!plugged_) return;
        const bool wasConnected = ConnectedLocked();
        plugged_ = false;
        inputQueue_.clear();
        LogLine(std::to_string(clock_()) + " unplug");
        if (wasConnected) notices = NoticesLocked(kCollectionClosed);
    }
    FlushLog();
    for (const Notice& n : notices)
        notifier_.Post(n.Window, n.Message, kCollectionNotification, n.Number);
}

bool SimHidLibrary::Announce(const _DEVICE_STATE& record) {
    Notice notice{};
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!registered_) return false;
        notice = Notice{window_, message_, AddNoticeLocked(record)};
    }
    notifier_.Post(notice.Window, notice.Message, kCollectionNotification, notice.Number);
    return true;
}

bool SimHidLibrary::Plugged() const {
    std::lock_guard<std::mutex> guard(lock_);
    return plugged_;
}

bool SimHidLibrary::SendInputReport(std::vector<std::uint8_t> report) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!ConnectedLocked()) return false;
        inputQueue_.push_back({std::move(report), fineClock_ ? fineClock_() : 0});
    }
    changed_.notify_all();
    return true;
}

void SimHidLibrary::WaitUntilDelivered() {
    if (std::this_thread::get_id() == deliveryThread_.get_id()) return;
    std::unique_lock<std::mutex> lk(lock_);
    changed_.wait(lk, [this] { return inputQueue_.empty() && !delivering_; });
}

void SimHidLibrary::DeliveryLoop() {
    std::unique_lock<std::mutex> lk(lock_);
    for (;;) {
        changed_.wait(lk, [this] { return stopping_ || !inputQueue_.empty(); });
        if (stopping_) break;
        std::vector<std::uint8_t> report = std::move(inputQueue_.front().Bytes);
        const std::uint64_t produced = inputQueue_.front().Produced;
        inputQueue_.pop_front();
        const HidInputCallback callback = ConnectedLocked() ? callback_ : nullptr;
        const Clock fineClock = callback != nullptr && produced != 0 ? fineClock_ : nullptr;
        delivering_ = true;
        const std::uint64_t now = clock_();
        // Said before the callback runs, outside the flush order: a sink
        // waiting for this callback's effect must not hold it back.
        const LogSink sink = callback != nullptr ? logSink_ : nullptr;
        lk.unlock();
        if (callback != nullptr) {
            if (sink) sink(FormatSentReport(now, report));
            // Stamped after the log line, which is the simulation's own cost.
            if (fineClock) NoteInputTiming({produced, fineClock()});
            callback(kSimCommandDeviceId, report.data(), static_cast<DWORD>(report.size()));
        }
        lk.lock();
        delivering_ = false;
        changed_.notify_all();
    }
}

std::vector<SimReceivedReport> SimHidLibrary::ReceivedReports() const {
    std::lock_guard<std::mutex> guard(lock_);
    return received_;
}

void SimHidLibrary::ClearReceivedReports() {
    std::lock_guard<std::mutex> guard(lock_);
    received_.clear();
}

SimMemory SimHidLibrary::Memory() const {
    std::lock_guard<std::mutex> guard(lock_);
    return mouse_.Memory();
}

int SimHidLibrary::CallCount(WORD ordinal) const {
    std::lock_guard<std::mutex> guard(lock_);
    return ordinal <= kOrdinalReadNotice ? calls_[ordinal] : 0;
}
