// The settings dialog template as the DLL carries it: an extended template,
// resource 101 in US English, its header and its 20 controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/pager_module.h"

namespace {

// Reads a DLGTEMPLATEEX and its items.
class TemplateReader
{
public:
    explicit TemplateReader(const BYTE* start) : at(start), base(start) {}
    WORD Word()
    {
        WORD value = *reinterpret_cast<const WORD*>(at);
        at += 2;
        return value;
    }
    DWORD Dword()
    {
        DWORD value = *reinterpret_cast<const DWORD*>(at);
        at += 4;
        return value;
    }
    std::string Text()
    {
        std::wstring wide;
        for (WORD c = Word(); c; c = Word())
            wide += static_cast<wchar_t>(c);
        char text[256] = "";
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text, sizeof(text), NULL, NULL);
        return text;
    }
    // A string, or "#<atom>" for an ordinal.
    std::string TextOrOrdinal()
    {
        if (*reinterpret_cast<const WORD*>(at) == 0xFFFF)
        {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignDword() { at = base + ((at - base + 3) & ~3); }

private:
    const BYTE* at;
    const BYTE* base;
};

struct Control
{
    int id;
    std::string className;
    std::string text;
    DWORD style;
    short x, y, cx, cy;
};

TEST(SettingsTemplateTest, HeaderAndControlsAreAsDesigned)
{
    PagerModule module;
    ASSERT_NE(nullptr, module.module());
    HRSRC found = FindResourceExA(module.module(), MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(101),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(nullptr, found);
    TemplateReader read(static_cast<const BYTE*>(LockResource(LoadResource(module.module(), found))));

    EXPECT_EQ(1, read.Word());       // version
    EXPECT_EQ(0xFFFF, read.Word());  // signature of an extended template
    EXPECT_EQ(0u, read.Dword());     // help id
    EXPECT_EQ(0u, read.Dword());     // extended style
    EXPECT_EQ(0x80C800C8u, read.Dword());
    const WORD count = read.Word();
    EXPECT_EQ(20, count);
    EXPECT_EQ(0, read.Word());
    EXPECT_EQ(0, read.Word());
    EXPECT_EQ(258, read.Word());
    EXPECT_EQ(135, read.Word());
    EXPECT_EQ("", read.TextOrOrdinal());  // menu
    EXPECT_EQ("", read.TextOrOrdinal());  // class
    EXPECT_EQ("Virtual Desktop Plugin v.0.2", read.Text());
    EXPECT_EQ(8, read.Word());
    EXPECT_EQ(400, read.Word());
    EXPECT_EQ(0x0100, read.Word());  // not italic, character set 1
    EXPECT_EQ("MS Shell Dlg", read.Text());

    const std::vector<Control> expected = {
        {-1, "#130", "Count virtual desktop", 0x50020000, 7, 8, 70, 8},
        {1005, "#129", "", 0x50812082, 84, 7, 35, 12},
        {1004, "msctls_updown32", "", 0x50000036, 118, 7, 10, 12},
        {-1, "#130", "Count columns", 0x50020000, 149, 8, 48, 8},
        {1006, "#129", "", 0x50810082, 202, 7, 40, 12},
        {1007, "msctls_updown32", "", 0x50000036, 240, 7, 11, 14},
        {-1, "#130", "Font", 0x50020000, 7, 33, 16, 8},
        {1008, "#133", "", 0x50210103, 32, 31, 100, 64},
        {-1, "#128", "Colors", 0x50000007, 7, 54, 244, 56},
        {1009, "#128", "Button1", 0x50010000, 13, 65, 11, 10},
        {-1, "#130", "Selected desktop", 0x50020000, 28, 65, 56, 8},
        {1011, "#128", "Button1", 0x50010000, 13, 79, 11, 10},
        {-1, "#130", "Unselected desktop", 0x50020000, 28, 79, 64, 8},
        {1012, "#128", "Button1", 0x50010000, 13, 93, 11, 10},
        {-1, "#130", "Unselected desktop (empty)", 0x50020000, 28, 93, 91, 8},
        {1010, "#128", "Button1", 0x50010000, 152, 65, 11, 10},
        {-1, "#130", "Highlight desktop", 0x50020000, 172, 65, 56, 8},
        {1, "#128", "OK", 0x50010000, 68, 114, 50, 14},
        {2, "#128", "Cancel", 0x50010000, 139, 114, 50, 14},
        {1013, "#128", "Keys\xE2\x80\xA6", 0x50010000, 7, 114, 50, 14},
    };
    ASSERT_EQ(expected.size(), count);
    for (const Control& want : expected)
    {
        read.AlignDword();
        EXPECT_EQ(0u, read.Dword()) << want.text;  // help id
        EXPECT_EQ(0u, read.Dword()) << want.text;  // extended style
        EXPECT_EQ(want.style, read.Dword()) << want.text;
        EXPECT_EQ(want.x, static_cast<short>(read.Word())) << want.text;
        EXPECT_EQ(want.y, static_cast<short>(read.Word())) << want.text;
        EXPECT_EQ(want.cx, static_cast<short>(read.Word())) << want.text;
        EXPECT_EQ(want.cy, static_cast<short>(read.Word())) << want.text;
        EXPECT_EQ(want.id, static_cast<int>(read.Dword())) << want.text;
        // Class names match without regard to case; the resource compiler stores them in capitals.
        EXPECT_EQ(0, lstrcmpiA(want.className.c_str(), read.TextOrOrdinal().c_str())) << want.text;
        EXPECT_EQ(want.text, read.TextOrOrdinal());
        EXPECT_EQ(0, read.Word()) << want.text;  // no creation data
    }
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
}

TEST(SettingsTemplateTest, OnlyTheUsEnglishTemplateExists)
{
    PagerModule module;
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module.module(), MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(101), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(std::vector<WORD>{1033}, languages);
}

}  // namespace
