// The progress bar's steps while the button table and the macro area go out:
// the bar moves from one position towards the next in proportion to the
// planned waits already behind the write, so it keeps moving through the
// seconds that the macro area takes.
#pragma once

#include <cstdint>

#include "device/ProgressSink.h"

class WriteProgress {
public:
    // Moves `sink` (may be null) from `from` towards `to` over `plannedMs`.
    WriteProgress(ProgressSink* sink, int from, int to, std::uint64_t plannedMs)
        : sink_(sink), from_(from), to_(to), planned_(plannedMs), shown_(from) {}

    // The position after `doneMs` of the planned time: from `from` to `to`,
    // never past `to`.
    static int PositionAt(int from, int to, std::uint64_t doneMs, std::uint64_t plannedMs) {
        if (plannedMs == 0 || doneMs >= plannedMs) return to;
        return from + static_cast<int>(static_cast<std::uint64_t>(to - from) * doneMs / plannedMs);
    }

    // Another `ms` of the plan is done; the sink hears the position when it changed.
    void Advance(std::uint64_t ms) {
        done_ += ms;
        const int position = PositionAt(from_, to_, done_, planned_);
        if (position != shown_ && sink_ != nullptr) sink_->SetProgress(position);
        shown_ = position;
    }

    bool Active() const { return sink_ != nullptr; }

private:
    ProgressSink* sink_;
    int from_;
    int to_;
    std::uint64_t planned_;
    std::uint64_t done_ = 0;
    int shown_;
};
