// Timing of macro playback: each event's offset from its due time (the
// pass's start plus the sum of the delays before it), as p50, p99 and
// maximum, and the drift of the last event. Two macros: 80 events 20 ms
// apart, and 80 events with mixed delays (0 to 100 ms). Goal: every event
// within 1 ms of its due time, no drift.
//
// On the virtual clock of the fake platform (the clock the unit tests run
// on) the player's waits are exact by construction; the figures show that
// nothing in the player adds time. On the host's steady clock, with a fine
// clock that waits as the Windows one does (sleep until 1 ms before the due
// time, then give up the processor in turns), they show the scheduling of
// the absolute due times on a real, loaded machine. Whole-process figures
// under Wine come from macro_timing.exe (tests/wine/actions).
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "actions/MacroPlayer.h"
#include "bench/TimingStats.h"
#include "platform/fake/FakePlatform.h"

namespace {

constexpr std::uint8_t kPressBit = 0x80;
constexpr std::uint8_t kUsageA = 0x04;

// 80 events, each pressing or releasing A in turn, with these delays (20 ms units).
MacroData MacroWithDelays(const std::vector<std::uint16_t>& delays) {
    MacroData data{};
    for (std::size_t i = 0; i < delays.size() && i < kMaxMacroEvents; ++i) {
        const bool press = i % 2 == 0;
        data[i * 3] = static_cast<std::uint8_t>((press ? kPressBit : 0) | ((delays[i] >> 8) & 0x7F));
        data[i * 3 + 1] = static_cast<std::uint8_t>(delays[i] & 0xFF);
        data[i * 3 + 2] = kUsageA;
    }
    return data;
}

std::vector<std::uint16_t> EvenDelays() { return std::vector<std::uint16_t>(kMaxMacroEvents, 1); }

std::vector<std::uint16_t> MixedDelays() {
    const std::uint16_t pattern[] = {1, 0, 3, 1, 2, 0, 5, 1, 0, 2};
    std::vector<std::uint16_t> delays;
    for (std::size_t i = 0; i < kMaxMacroEvents; ++i) delays.push_back(pattern[i % 10]);
    return delays;
}

// Due time of each event, in microseconds from the pass's start.
std::vector<std::uint64_t> DueOffsets(const std::vector<std::uint16_t>& delays) {
    std::vector<std::uint64_t> due;
    std::uint64_t at = 0;
    for (std::uint16_t delay : delays) {
        due.push_back(at);
        at += delay * kMacroDelayUnitMicroseconds;
    }
    return due;
}

// A fine clock on the host's steady clock that waits as the Windows one does.
class SteadyPreciseClock final : public PreciseClock {
public:
    std::uint64_t NowMicroseconds() override {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
    void WaitUntil(std::uint64_t due) override {
        std::uint64_t now = NowMicroseconds();
        if (now + kMargin < due) {
            std::this_thread::sleep_for(std::chrono::microseconds(due - now - kMargin));
            now = NowMicroseconds();
        }
        do {
            std::this_thread::yield();
            now = NowMicroseconds();
        } while (now < due);
    }

private:
    static constexpr std::uint64_t kMargin = 1000;
};

void Report(benchmark::State& state, const std::vector<std::int64_t>& offsets, std::int64_t drift) {
    const TimingStats stats = Percentiles(offsets);
    state.counters["p50_us"] = stats.p50;
    state.counters["p99_us"] = stats.p99;
    state.counters["max_us"] = stats.max;
    state.counters["last_drift_us"] = static_cast<double>(drift);
    state.counters["events"] = static_cast<double>(offsets.size());
}

// Plays the macro once per iteration on `platform`, whose input records
// times in microseconds of `clock`.
void PlayAndMeasure(benchmark::State& state, FakePlatform& fake, const Platform& platform,
                    const std::vector<std::uint16_t>& delays) {
    SetPlatform(&platform);
    const MacroData data = MacroWithDelays(delays);
    const std::vector<std::uint64_t> due = DueOffsets(delays);
    std::vector<std::int64_t> offsets;
    std::int64_t drift = 0;
    for (auto _ : state) {
        fake.input.Clear();
        const std::uint64_t start = platform.Clock.NowMicroseconds();
        PlayMacroEvents(data, start);
        const auto events = fake.input.Events();
        for (std::size_t i = 0; i < events.size() && i < due.size(); ++i)
            offsets.push_back(static_cast<std::int64_t>(events[i].time - start - due[i]));
        if (!events.empty() && events.size() == due.size())
            drift = static_cast<std::int64_t>(events.back().time - start - due.back());
    }
    Report(state, offsets, drift);
    SetPlatform(nullptr);
}

void BM_MacroVirtualClock(benchmark::State& state, std::vector<std::uint16_t> delays) {
    FakePlatform fake;
    fake.input.SetClock([&fake] { return fake.clock.NowMicroseconds(); });
    PlayAndMeasure(state, fake, fake, delays);
}
BENCHMARK_CAPTURE(BM_MacroVirtualClock, even_20ms, EvenDelays())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MacroVirtualClock, mixed, MixedDelays())->Unit(benchmark::kMillisecond);

void BM_MacroSteadyClock(benchmark::State& state, std::vector<std::uint16_t> delays) {
    FakePlatform fake;
    SteadyPreciseClock clock;
    const Platform platform{fake.kernel, fake.windows, fake.files, fake.shell, fake.input, clock, fake.graphics};
    fake.input.SetClock([&clock] { return clock.NowMicroseconds(); });
    PlayAndMeasure(state, fake, platform, delays);
}
BENCHMARK_CAPTURE(BM_MacroSteadyClock, even_20ms, EvenDelays())->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_MacroSteadyClock, mixed, MixedDelays())->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
