// The progress dialog's template as the resource compiler laid it out: an
// extended template without controls, a borderless popup, 316 × 183 dialog
// units, no title, "MS Shell Dlg" at 8 points.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "ui/ProgressDialogRules.h"

namespace {

// Reads the template's fields in order, each aligned as the format wants.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}
    template <class T>
    T Read() {
        T value{};
        if (offset_ + sizeof(T) <= size_) std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }
    std::u16string ReadText() {
        std::u16string text;
        for (char16_t c = Read<char16_t>(); c != 0 && offset_ <= size_; c = Read<char16_t>()) text += c;
        return text;
    }

private:
    const BYTE* data_;
    DWORD size_;
    DWORD offset_ = 0;
};

TEST(DialogTemplateTest, Template129IsTheBorderlessProgressPopup) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(kProgressDialogTemplate),
                                  reinterpret_cast<LPCWSTR>(RT_DIALOG));
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    ASSERT_NE(loaded, nullptr);
    TemplateReader t(static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(nullptr, found));

    EXPECT_EQ(t.Read<WORD>(), 1);       // version
    EXPECT_EQ(t.Read<WORD>(), 0xFFFF);  // extended template
    EXPECT_EQ(t.Read<DWORD>(), 0u);     // help id
    EXPECT_EQ(t.Read<DWORD>(), 0u);     // extended style
    EXPECT_EQ(t.Read<DWORD>(), DWORD(WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(t.Read<WORD>(), 0);       // controls
    EXPECT_EQ(t.Read<short>(), 0);      // x
    EXPECT_EQ(t.Read<short>(), 0);      // y
    EXPECT_EQ(t.Read<short>(), 316);    // width
    EXPECT_EQ(t.Read<short>(), 183);    // height
    EXPECT_EQ(t.Read<WORD>(), 0);       // no menu
    EXPECT_EQ(t.Read<WORD>(), 0);       // the dialog class
    EXPECT_EQ(t.ReadText(), u"");       // no title
    EXPECT_EQ(t.Read<WORD>(), 8);       // points
    EXPECT_EQ(t.Read<WORD>(), 400);     // weight
    EXPECT_EQ(t.Read<BYTE>(), 0);       // not italic
    EXPECT_EQ(t.Read<BYTE>(), 1);       // character set
    EXPECT_EQ(t.ReadText(), u"MS Shell Dlg");
}

}  // namespace
