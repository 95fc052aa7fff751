// The portable INI reader and writer against the platform's own profile
// functions: the same sequence of reads and writes on two copies of the same
// file must give identical read results and byte-identical files after every
// step. Runs in the Windows build (under Wine here).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/IniValues.h"
#include "tools/settingsbench/PlatformIniFile.h"
#include "config/PortableIniFile.h"
#include "config/SettingsFile.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/SettingsSamples.h"

namespace {

enum class Kind {
    GetInt, GetString, GetBlock, WriteInt, WriteString, WriteBlock,
    WriteAll, WriteAllTexts, ReadAll, ReloadActive
};

// The full record with words of the system's ANSI code page in every text field.
ServiceSettings TextsOfTheCodePage() { return samples::SettingsWithTexts(samples::WordOfCodePage(::GetACP())); }

struct Op {
    Kind kind;
    Text section;
    Text key;
    Text text;               // default of GetString, value of WriteString
    std::int32_t number = 0; // default of GetInt, value of WriteInt
    std::vector<std::uint8_t> bytes;  // block written, or the size of the block read
};

struct Case {
    const char* name;
    bool fileExists;
    std::string initial;
    std::vector<Op> ops;
};

Op GetInt(Text s, Text k, std::int32_t d) { return {Kind::GetInt, std::move(s), std::move(k), {}, d, {}}; }
Op GetString(Text s, Text k, Text d = Text()) { return {Kind::GetString, std::move(s), std::move(k), std::move(d), 0, {}}; }
Op GetBlock(Text s, Text k, std::size_t size) {
    return {Kind::GetBlock, std::move(s), std::move(k), {}, 0, std::vector<std::uint8_t>(size, 0xCD)};
}
Op WriteInt(Text s, Text k, std::int32_t v) { return {Kind::WriteInt, std::move(s), std::move(k), {}, v, {}}; }
Op WriteString(Text s, Text k, Text v) { return {Kind::WriteString, std::move(s), std::move(k), std::move(v), 0, {}}; }
Op WriteBlock(Text s, Text k, std::vector<std::uint8_t> b) {
    return {Kind::WriteBlock, std::move(s), std::move(k), {}, 0, std::move(b)};
}
Op Whole(Kind kind) { return {kind, {}, {}, {}, 0, {}}; }

std::string Utf16(const std::u16string& text, bool bom = true) {
    std::string out = bom ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

std::string EncodedBlock(const std::vector<std::uint8_t>& bytes) {
    return TextToUtf8(EncodeIniBlock(bytes.data(), bytes.size()));
}

std::vector<std::uint8_t> Sequence(std::size_t size, std::uint8_t start) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(start + i * 7);
    return bytes;
}

std::string FullSettingsFile();

std::vector<Case> Cases() {
    const std::vector<std::uint8_t> three = {1, 2, 3};
    const std::string good = EncodedBlock(Sequence(60, 9));
    std::string wrongSum = good;
    wrongSum.back() = wrongSum.back() == 'F' ? '0' : 'F';
    std::vector<Case> cases;
    cases.push_back({"new file", false, "",
                     {WriteInt(u"Setting", u"Profile", 1), WriteInt(u"Setting", u"Mode", -1),
                      WriteString(u"GROUP1", u"Name", u"caf\u00e9 \u4e2d"), WriteBlock(u"GROUP1", u"DPIStageValue", three),
                      GetInt(u"Setting", u"Profile", 7), GetString(u"GROUP1", u"Name"),
                      GetBlock(u"GROUP1", u"DPIStageValue", 3), WriteInt(u"Setting", u"Profile", 1)}});
    cases.push_back({"empty file", true, "",
                     {GetInt(u"Setting", u"Profile", 0), WriteInt(u"Setting", u"Plug", 0)}});
    cases.push_back({"existing sections in other case", true,
                     "[setting]\r\nPROFILE=3\r\n[group1]\r\nname=x\r\n[BUTTONASSIGNED1_1]\r\nbuttonfunc=4\r\n",
                     {GetInt(u"Setting", u"Profile", 0), GetString(u"GROUP1", u"Name"),
                      GetInt(u"ButtonAssigned1_1", u"ButtonFunc", -1), WriteInt(u"Setting", u"Profile", 2),
                      WriteString(u"GROUP1", u"Name", u"y"), WriteString(u"GROUP1", u"Launch", u"a.exe"),
                      WriteInt(u"ButtonAssigned1_1", u"KeyNumber", 4), GetString(u"group1", u"LAUNCH")}});
    cases.push_back({"UTF-16 file with byte-order mark", true,
                     Utf16(u"[Setting]\r\nProfile=2\r\n[GROUP2]\r\nName=\u00e9t\u00e9 \u4e2d\u6587\r\n"),
                     {GetString(u"GROUP2", u"Name"), WriteString(u"GROUP2", u"Launch", u"\u4e2d.exe"),
                      WriteInt(u"Setting", u"Plug", 1), WriteString(u"GROUP3", u"Name", u"\u20ac\U0001F600"),
                      GetString(u"GROUP3", u"Name"), GetInt(u"Setting", u"Profile", -1)}});
    cases.push_back({"UTF-16 file without byte-order mark reads as ANSI", true,
                     Utf16(u"[Setting]\r\nProfile=2\r\n", false),
                     {GetInt(u"Setting", u"Profile", -1), WriteInt(u"Setting", u"Plug", 1)}});
    cases.push_back({"UTF-8 file with byte-order mark", true, "\xEF\xBB\xBF[GROUP1]\r\nName=caf\xC3\xA9\r\n",
                     {GetString(u"GROUP1", u"Name"), WriteString(u"GROUP1", u"Launch", u"\u00e9\u4e2d")}});
    cases.push_back({"ANSI file", true, "[GROUP1]\r\nName=caf\xE9 \x80 \x81\x9D\r\n",
                     {GetString(u"GROUP1", u"Name"), WriteString(u"GROUP1", u"Launch", u"\u4e2d\u20ac\u00ff\u0152"),
                      GetString(u"GROUP1", u"Launch"), WriteString(u"GROUP1", u"Path", u"\U0001F600"),
                      WriteString(u"GROUP1", u"Fit", u"\u0100\u2212\u00a0\u0131\u03a9")}});
    std::string everyByte = "[s]\r\nall=";
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') everyByte.push_back(static_cast<char>(b));
    everyByte += "\r\n";
    cases.push_back({"every byte of the code page", true, everyByte,
                     {GetString(u"s", u"all"), WriteString(u"s", u"all", u"changed"), WriteString(u"s", u"all2", u"x")}});
    cases.push_back({"missing keys", true, "[Setting]\r\nProfile=1\r\n[GROUP1]\r\nnoequals\r\nempty=\r\n",
                     {GetInt(u"Setting", u"Mode", -1), GetInt(u"Nothing", u"Mode", -1),
                      GetString(u"GROUP1", u"Name"), GetString(u"GROUP1", u"noequals", u"dflt  "),
                      GetInt(u"GROUP1", u"empty", -1), GetString(u"GROUP1", u"empty", u"x"),
                      GetBlock(u"GROUP1", u"ButtonAssigned1_1", 240), GetBlock(u"GROUP1", u"noequals", 3)}});
    cases.push_back({"damaged and short blocks", true,
                     "[GROUP1]\r\nshort=" + good.substr(0, 120) + "\r\nlong=" + good + "00\r\nnotHex=" +
                         good.substr(0, 10) + "GZ" + good.substr(12) + "\r\nspace=" + good.substr(0, 10) + " " +
                         good.substr(11) + "\r\nlower=0a0b0c21\r\nquoted=\"01020306\"\r\nodd=010203060\r\n",
                     {GetBlock(u"GROUP1", u"short", 60), GetBlock(u"GROUP1", u"long", 60),
                      GetBlock(u"GROUP1", u"notHex", 60), GetBlock(u"GROUP1", u"space", 60),
                      GetBlock(u"GROUP1", u"lower", 3), GetBlock(u"GROUP1", u"quoted", 3),
                      GetBlock(u"GROUP1", u"odd", 3), GetBlock(u"GROUP1", u"lower", 2)}});
    cases.push_back({"wrong checksum", true, "[GROUP1]\r\nDPIStageValue=" + wrongSum + "\r\nok=" + good + "\r\n",
                     {GetBlock(u"GROUP1", u"DPIStageValue", 60), GetBlock(u"GROUP1", u"ok", 60)}});
    cases.push_back({"values with spaces and signs", true,
                     "[s]\r\na= -12 \r\nb=+7\r\nc=0x1F\r\nd=  12abc\r\ne=\"42\"\r\nf='7'\r\ng=--3\r\nh=4294967295\r\n"
                     "i=99999999999\r\nj=\t\"q\" \r\n  k  =  v w  \r\n",
                     {GetInt(u"s", u"a", 0), GetInt(u"s", u"b", 0), GetInt(u"s", u"c", 0), GetInt(u"s", u"d", 0),
                      GetInt(u"s", u"e", 0), GetInt(u"s", u"f", 0), GetInt(u"s", u"g", 5), GetInt(u"s", u"h", 0),
                      GetInt(u"s", u"i", 0), GetString(u"s", u"j"), GetString(u"s", u"k"), GetString(u" s ", u" k "),
                      WriteString(u"s", u"lead", u"   x y  "), GetString(u"s", u"lead"),
                      WriteInt(u"s", u"neg", -2147483647 - 1), GetInt(u"s", u"neg", 0),
                      WriteString(u"s", u"k", u"v w"), WriteString(u"s", u"q", u"\"quoted\"")}});
    cases.push_back({"very long values", true,
                     "[s]\r\nlong=" + std::string(3000, 'x') + "\r\nnum=" + std::string(40, '1') + "\r\nblock=" +
                         std::string(10000, 'A') + "\r\n",
                     {GetString(u"s", u"long"), GetInt(u"s", u"num", 0), GetBlock(u"s", u"block", 240),
                      WriteString(u"s", u"other", Text(5000, u'y')), GetString(u"s", u"other"),
                      WriteBlock(u"s", u"big", Sequence(2000, 3)), GetBlock(u"s", u"big", 2000)}});
    cases.push_back({"file layout: comments, blank lines, stray lines", true,
                     "; comment\r\nbefore=1\r\n\r\n[A]\r\n\r\nx=1\r\n=nameless\r\n=again\r\n\r\n[ B ]tail\r\ny=2\r\n"
                     "[A]\r\nz=3\r\n[unclosed\r\n[]\r\nw=4\rv=5\n\n",
                     {GetInt(u"A", u"x", 0), GetInt(u"A", u"z", -1), GetInt(u"B", u"y", 0), GetString(u"A", u""),
                      WriteInt(u"A", u"new", 1), WriteInt(u"B", u"y", 2), WriteInt(u"C", u"c", 3),
                      GetInt(u"", u"w", -1)}});
    cases.push_back({"full 410-key write on a new file", false, "",
                     {Whole(Kind::WriteAll), Whole(Kind::ReadAll), Whole(Kind::ReloadActive)}});
    cases.push_back({"full write over a full file", true, FullSettingsFile(),
                     {Whole(Kind::ReadAll), Whole(Kind::WriteAll), Whole(Kind::ReloadActive)}});
    const Text word = samples::WordOfCodePage(::GetACP());
    cases.push_back({"texts of the system's code page in every text field", false, "",
                     {Whole(Kind::WriteAllTexts), Whole(Kind::ReadAll), Whole(Kind::ReloadActive),
                      Whole(Kind::WriteAll), Whole(Kind::ReadAll), Whole(Kind::WriteAllTexts),
                      GetString(u"GROUP3", u"Name"), GetString(u"ButtonAssigned5_10", u"Path"),
                      WriteString(u"GROUP0", u"Name", word), GetString(u"GROUP0", u"Name")}});
    cases.push_back({"full write over the installed defaults", true, "",  // filled in by the test
                     {Whole(Kind::ReadAll), Whole(Kind::WriteAll), Whole(Kind::ReadAll)}});
    return cases;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 15]);
        }
    }
    return out;
}

// Applies one step; returns what a read gave, as text.
std::string Apply(IniFile& file, const Op& op) {
    switch (op.kind) {
    case Kind::GetInt:
        return std::to_string(file.GetInt(op.section, op.key, op.number));
    case Kind::GetString:
        return Hex(TextToUtf8(file.GetString(op.section, op.key, op.text)));
    case Kind::GetBlock: {
        std::vector<std::uint8_t> buffer = op.bytes;
        const bool taken = file.GetBlock(op.section, op.key, buffer.data(), buffer.size());
        return (taken ? "taken " : "not taken ") + Hex(std::string(buffer.begin(), buffer.end()));
    }
    case Kind::WriteInt:
        file.WriteInt(op.section, op.key, op.number);
        return "";
    case Kind::WriteString:
        file.WriteString(op.section, op.key, op.text);
        return "";
    case Kind::WriteBlock:
        file.WriteBlock(op.section, op.key, op.bytes.data(), op.bytes.size());
        return "";
    case Kind::WriteAll:
        WriteAllSettings(file, samples::FullSettings());
        return "";
    case Kind::WriteAllTexts:
        WriteAllSettings(file, TextsOfTheCodePage());
        return "";
    case Kind::ReadAll:
    case Kind::ReloadActive: {
        ServiceSettings settings = samples::DefaultSettings();
        if (op.kind == Kind::ReadAll) ReadAllSettings(file, settings);
        else ReloadActiveProfile(file, settings);
        return Hex(std::string(reinterpret_cast<const char*>(&settings), sizeof settings));
    }
    }
    return "";
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Whole files on disk, through the same platform code the service uses.
std::string ReadDisk(const std::wstring& path) {
    Win32Platform disk;
    const FileRead read = disk.Files.ReadWholeFile(FromWide(path.c_str()));
    return read.Status == FileReadStatus::Read ? read.Bytes : std::string("<none>");
}

void WriteDisk(const std::wstring& path, const std::string& bytes) {
    Win32Platform disk;
    disk.Files.ReplaceWholeFile(FromWide(path.c_str()), bytes);
}

std::wstring ScratchFolder() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"ini-differential-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string FullSettingsFile() {
    static std::string cached;
    if (!cached.empty()) return cached;
    const std::wstring path = ScratchFolder() + L"full-sample.ini";
    ::DeleteFileW(path.c_str());
    PortableIniFile file(Text(reinterpret_cast<const char16_t*>(path.c_str())));
    const ServiceSettings full = samples::FullSettings();
    WriteAllSettings(file, full);
    WriteProfileSlot(file, 0, full.Profiles[0]);
    cached = ReadDisk(path);
    return cached;
}

class IniDifferential : public ::testing::Test {
protected:
    void SetUp() override { SetPlatform(&platform_); }
    void TearDown() override { SetPlatform(nullptr); }
    Win32Platform platform_;
};

TEST_F(IniDifferential, PortableAndPlatformReadAndWriteAlike) {
    const std::wstring folder = ScratchFolder();
    std::vector<Case> cases = Cases();
    cases.back().initial = ReadDisk(Wide(std::string(MOUSEHID_SOURCE_DIR_WINE) + "/defaults/config.ini"));
    ASSERT_GT(cases.back().initial.size(), 1000u) << "installed defaults not found";
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const Case& testCase = cases[c];
        SCOPED_TRACE("case " + std::to_string(c) + ": " + testCase.name);
        const std::wstring portablePath = folder + L"portable-" + std::to_wstring(c) + L".ini";
        const std::wstring platformPath = folder + L"platform-" + std::to_wstring(c) + L".ini";
        ::DeleteFileW(portablePath.c_str());
        ::DeleteFileW(platformPath.c_str());
        if (testCase.fileExists) {
            WriteDisk(portablePath, testCase.initial);
            WriteDisk(platformPath, testCase.initial);
        }
        PortableIniFile portable(Text(reinterpret_cast<const char16_t*>(portablePath.c_str())));
        PlatformIniFile native(Text(reinterpret_cast<const char16_t*>(platformPath.c_str())));
        for (std::size_t i = 0; i < testCase.ops.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            EXPECT_EQ(Apply(portable, testCase.ops[i]), Apply(native, testCase.ops[i]));
            EXPECT_EQ(Hex(ReadDisk(portablePath)), Hex(ReadDisk(platformPath)));
        }
    }
}

// Under a code page of its own the texts come back from the file exactly as
// they were written: the code page holds them, and the portable reader decodes
// them as the platform does.
TEST_F(IniDifferential, TextsOfTheSystemCodePageSurviveAFullWriteAndRead) {
    const std::wstring path = ScratchFolder() + L"texts.ini";
    ::DeleteFileW(path.c_str());
    const ServiceSettings written = TextsOfTheCodePage();
    PlatformIniFile native(Text(reinterpret_cast<const char16_t*>(path.c_str())));
    WriteAllSettings(native, written);
    WriteProfileSlot(native, 0, written.Profiles[0]);
    ASSERT_NE(ReadDisk(path).substr(0, 2), "\xFF\xFE") << "an ANSI file";
    PortableIniFile portable(Text(reinterpret_cast<const char16_t*>(path.c_str())));
    ServiceSettings read = samples::DefaultSettings();
    ReadAllSettings(portable, read);
    for (int k = 0; k < kProfileCount; ++k) {
        SCOPED_TRACE("slot " + std::to_string(k));
        const ProfileRecord& w = written.Profiles[k];
        const ProfileRecord& r = read.Profiles[k];
        EXPECT_EQ(TextToUtf8(TextFromField(r.Name, kNameLength)), TextToUtf8(TextFromField(w.Name, kNameLength)));
        EXPECT_EQ(TextToUtf8(TextFromField(r.Launch, kLaunchLength)), TextToUtf8(TextFromField(w.Launch, kLaunchLength)));
        for (int b = 0; b < kButtonCount; ++b) {
            EXPECT_EQ(TextToUtf8(TextFromField(r.Buttons[b].MacroName, kMacroNameLength)),
                      TextToUtf8(TextFromField(w.Buttons[b].MacroName, kMacroNameLength)));
            EXPECT_EQ(TextToUtf8(TextFromField(r.Buttons[b].Path, kPathLength)),
                      TextToUtf8(TextFromField(w.Buttons[b].Path, kPathLength)));
        }
    }
}

// The platform's block reader is what the settings code relies on for "not
// taken": a wrong checksum makes it fail (it does fill the buffer first,
// which is why the accessor reads into a scratch copy).
TEST_F(IniDifferential, PlatformRefusesABlockWithAWrongChecksum) {
    const std::wstring path = ScratchFolder() + L"checksum.ini";
    WriteDisk(path, "[s]\r\nok=01020306\r\nbad=01020307\r\n");
    std::uint8_t buffer[3] = {9, 9, 9};
    EXPECT_TRUE(::GetPrivateProfileStructW(L"s", L"ok", buffer, 3, path.c_str()));
    std::memset(buffer, 9, sizeof buffer);
    EXPECT_FALSE(::GetPrivateProfileStructW(L"s", L"bad", buffer, 3, path.c_str()));
    EXPECT_EQ(buffer[0], 1) << "the platform fills the buffer before checking";
    PlatformIniFile file(Text(reinterpret_cast<const char16_t*>(path.c_str())));
    std::memset(buffer, 9, sizeof buffer);
    EXPECT_FALSE(file.GetBlock(u"s", u"bad", buffer, 3));
    EXPECT_EQ(buffer[0], 9);
}

// The platform's block reader takes a value with one digit too many (it
// halves the length, rounding down): the accessor refuses such a block, as
// the portable reader does, because the file holds something else there.
TEST_F(IniDifferential, AccessorRefusesTheBlocksThePlatformReaderIsLaxAbout) {
    const std::wstring path = ScratchFolder() + L"lax.ini";
    WriteDisk(path, "[s]\r\nodd=010203060\r\nok=01020306\r\n");
    std::uint8_t buffer[3] = {9, 9, 9};
    EXPECT_TRUE(::GetPrivateProfileStructW(L"s", L"odd", buffer, 3, path.c_str()));
    PlatformIniFile file(Text(reinterpret_cast<const char16_t*>(path.c_str())));
    std::memset(buffer, 9, sizeof buffer);
    EXPECT_FALSE(file.GetBlock(u"s", u"odd", buffer, 3));
    EXPECT_EQ(buffer[0], 9);
    EXPECT_TRUE(file.GetBlock(u"s", u"ok", buffer, 3));
    EXPECT_EQ(buffer[2], 3);
}

}  // namespace
