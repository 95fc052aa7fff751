// Shared set-up of the settings-file tests: a fake platform with the data
// folder in place, and an INI accessor that counts the calls made through it.
#pragma once

#include "tests/support/ProcessReset.h"
#include <gtest/gtest.h>

#include <string>

#include "config/DataFolder.h"
#include "config/IniFile.h"
#include "platform/fake/FakePlatform.h"

class CountingIniFile final : public IniFile {
public:
    explicit CountingIniFile(IniFile& inner) : inner_(inner) {}

    int reads = 0;
    int writes = 0;
    std::vector<std::string> log;  // "section/key" in call order

    std::int32_t GetInt(const Text& s, const Text& k, std::int32_t d) override {
        Note(s, k, reads);
        return inner_.GetInt(s, k, d);
    }
    Text GetString(const Text& s, const Text& k, const Text& d) override {
        Note(s, k, reads);
        return inner_.GetString(s, k, d);
    }
    bool GetBlock(const Text& s, const Text& k, void* b, std::size_t n) override {
        Note(s, k, reads);
        return inner_.GetBlock(s, k, b, n);
    }
    void WriteInt(const Text& s, const Text& k, std::int32_t v) override {
        Note(s, k, writes);
        inner_.WriteInt(s, k, v);
    }
    bool AllWritesReached() const override { return inner_.AllWritesReached(); }
    void WriteString(const Text& s, const Text& k, const Text& v) override {
        Note(s, k, writes);
        inner_.WriteString(s, k, v);
    }
    void WriteBlock(const Text& s, const Text& k, const void* b, std::size_t n) override {
        Note(s, k, writes);
        inner_.WriteBlock(s, k, b, n);
    }

private:
    void Note(const Text& s, const Text& k, int& counter) {
        ++counter;
        log.push_back(TextToUtf8(s) + "/" + TextToUtf8(k));
    }
    IniFile& inner_;
};

class SettingsFileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        SetPlatform(&fake);
        fake.files.SetAppDataFolder(Text(u"C:\\users\\me\\AppData\\Roaming"));
        ResolveFolders();
        fake.files.AddFolder(DataFolder());
    }
    void TearDown() override { SetPlatform(nullptr); }

    void PutSettingsFile(const std::string& bytes) { fake.files.AddFile(SettingsFilePath(), bytes); }
    std::string SettingsFile() const { return fake.files.File(SettingsFilePath()).value_or("<none>"); }

    FakePlatform fake;
};
