// Cost of the settings-file operations with the portable INI code on a full
// realistic config.ini (six profiles, ten buttons each, every macro block
// filled): ReloadActiveProfile runs before every button press and release,
// so it must stay well under the 1 ms report period of a 1,000 Hz mouse.
#include <benchmark/benchmark.h>

#include "config/DataFolder.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "config/SettingsStore.h"
#include "platform/fake/FakePlatform.h"
#include "tests/support/SettingsSamples.h"

namespace {

class FullSettingsFile {
public:
    FullSettingsFile() {
        SetPlatform(&fake_);
        fake_.files.SetAppDataFolder(Text(u"C:\\users\\bench\\AppData\\Roaming"));
        ResolveFolders();
        fake_.files.AddFolder(DataFolder());
        PortableIniFile file(SettingsFilePath());
        const ServiceSettings full = samples::FullSettings();
        WriteAllSettings(file, full);
        WriteProfileSlot(file, 0, full.Profiles[0]);
        bytes_ = fake_.files.File(SettingsFilePath()).value_or("");
    }
    ~FullSettingsFile() { SetPlatform(nullptr); }
    std::size_t Size() const { return bytes_.size(); }
    // The file as written, with `suffix` appended (an edit of the file).
    void Restore(const std::string& suffix = "") { fake_.files.AddFile(SettingsFilePath(), bytes_ + suffix); }

private:
    FakePlatform fake_;
    std::string bytes_;
};

void BM_ReloadActiveProfile(benchmark::State& state) {
    FullSettingsFile file;
    ServiceSettings settings = samples::FullSettings();
    for (auto _ : state) {
        ReloadActiveProfile(settings);
        benchmark::DoNotOptimize(settings);
    }
    state.counters["file_bytes"] = static_cast<double>(file.Size());
}
BENCHMARK(BM_ReloadActiveProfile)->Unit(benchmark::kMicrosecond);

// What every button event runs: the settings store's ReloadActiveProfile,
// which reads the file whole and parses it only when its bytes changed.
void BM_StoreReloadActiveProfile(benchmark::State& state) {
    FullSettingsFile file;
    SettingsStore store;
    store.ReloadSettings();
    for (auto _ : state) store.ReloadActiveProfile();
    state.counters["file_bytes"] = static_cast<double>(file.Size());
}
BENCHMARK(BM_StoreReloadActiveProfile)->Unit(benchmark::kMicrosecond);

// The first event after an edit: the bytes differ, so the file is parsed.
void BM_StoreReloadActiveProfileAfterEdit(benchmark::State& state) {
    FullSettingsFile file;
    SettingsStore store;
    store.ReloadSettings();
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        file.Restore(flip ? "1" : "");
        flip = !flip;
        state.ResumeTiming();
        store.ReloadActiveProfile();
    }
}
BENCHMARK(BM_StoreReloadActiveProfileAfterEdit)->Unit(benchmark::kMicrosecond);

// The same 87 reads when every read parses the file again, as the
// platform's own functions do: the reason reads parse once per operation.
void BM_ReloadActiveProfileFileReadPerKey(benchmark::State& state) {
    FullSettingsFile file;
    ServiceSettings settings = samples::FullSettings();
    for (auto _ : state) {
        PortableIniFile ini(SettingsFilePath());
        ReloadActiveProfile(ini, settings);
        benchmark::DoNotOptimize(settings);
    }
}
BENCHMARK(BM_ReloadActiveProfileFileReadPerKey)->Unit(benchmark::kMicrosecond);

void BM_ReadAllSettings(benchmark::State& state) {
    FullSettingsFile file;
    ServiceSettings settings = samples::FullSettings();
    for (auto _ : state) {
        ReadAllSettings(settings);
        benchmark::DoNotOptimize(settings);
    }
}
BENCHMARK(BM_ReadAllSettings)->Unit(benchmark::kMicrosecond);

// A full write of the record the file already holds: 410 writes, each a
// read and parse of the file, none of which needs to rewrite it.
void BM_WriteAllSettingsUnchanged(benchmark::State& state) {
    FullSettingsFile file;
    const ServiceSettings full = samples::FullSettings();
    for (auto _ : state) WriteAllSettings(full);
}
BENCHMARK(BM_WriteAllSettingsUnchanged)->Unit(benchmark::kMillisecond);

// A full write where every block changes: every one of the 410 writes that
// changes a value rewrites the whole file.
void BM_WriteAllSettingsChanged(benchmark::State& state) {
    FullSettingsFile file;
    ServiceSettings changed = samples::FullSettings();
    for (auto& profile : changed.Profiles) {
        profile.LIFT = 9;
        for (auto& button : profile.Buttons) button.ButtonData[0] ^= 0x01;
    }
    for (auto _ : state) {
        state.PauseTiming();
        file.Restore();
        state.ResumeTiming();
        WriteAllSettings(changed);
    }
}
BENCHMARK(BM_WriteAllSettingsChanged)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
