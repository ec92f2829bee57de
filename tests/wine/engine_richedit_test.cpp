// Names replaced in the RTF that RichEdit itself writes, and read back from
// RichEdit as the user would see them; the clipboard gets both formats.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/ReplaceInReply.h"
#include "win32/RichEditControl.h"

namespace corvane::win32 {
namespace {

class RichEditReplace : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_ = LoadLibraryA("riched20.dll");
        editor_ = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_POPUP | ES_MULTILINE, 0, 0, 400, 300, nullptr, nullptr,
            GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(editor_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(editor_);
        FreeLibrary(library_);
    }
    std::string Text() const
    {
        GETTEXTEX get{};
        char buffer[4096] = {};
        get.cb = sizeof buffer;
        get.flags = GT_USECRLF;
        get.codepage = CP_ACP;
        SendMessageA(editor_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    HMODULE library_ = nullptr;
    HWND editor_ = nullptr;
};

TEST_F(RichEditReplace, MarkupOfRichEditIsNeverRewrittenAndValuesArriveAsTyped)
{
    RichEditControl content(editor_);
    LoadReplaced(content,
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl ;\\red31\\green73\\blue125;}"
        "\\pard\\f0\\fs20 Dear \\b Name\\b0 , in Arial red.\\par Par b fs %Da\\i te\\i0  %date\\par}",
        {{"Name,par,b,fs,Arial,red,%Date",
            "{Jos\xe9}\x01P\x01"
            "B\x01"
            "F\x01Helvetica\x01"
            "Blue\x01today"}});
    EXPECT_EQ(Text(), "Dear {Jos\xe9}, in Helvetica Blue.\r\nP B F %Date today");
    EXPECT_FALSE(content.Modified());
    EXPECT_NE(content.SaveRtf().find("{\\fonttbl{\\f0\\fswiss Arial;}}"), std::string::npos);
}

TEST_F(RichEditReplace, CopyPutsRichTextAndPlainTextOnTheClipboard)
{
    RichEditControl content(editor_);
    content.LoadRtf("{\\rtf1\\ansi Hello \\b world\\b0 .\\par}");
    ASSERT_TRUE(content.CopyAllToClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE text = GetClipboardData(CF_TEXT);
    HANDLE rich = GetClipboardData(RegisterClipboardFormatA(CF_RTF));
    const std::string plain = text ? static_cast<const char*>(GlobalLock(text)) : "";
    const std::string rtf = rich ? static_cast<const char*>(GlobalLock(rich)) : "";
    CloseClipboard();
    EXPECT_EQ(plain.substr(0, 12), "Hello world.");
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf.find("\\b"), std::string::npos);

    // Held by another program: the copy says so.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(content.CopyAllToClipboard());
    CloseClipboard();
}

TEST_F(RichEditReplace, PlainTextOutsideTheAnsiCodePageIsOnTheClipboardAsUnicode)
{
    RichEditControl content(editor_);
    content.LoadRtf("{\\rtf1\\ansi\\uc1 Next \\u8594? step \\u1044?\\u1072?}");
    ASSERT_TRUE(content.CopyAllToClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE text = GetClipboardData(CF_UNICODETEXT);
    const std::wstring unicode = text ? static_cast<const wchar_t*>(GlobalLock(text)) : L"";
    CloseClipboard();
    EXPECT_EQ(unicode.substr(0, 14), L"Next \u2192 step \u0414\u0430");
}

} // namespace
} // namespace corvane::win32
