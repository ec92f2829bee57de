// The user's clipboard kept across a paste on the real clipboard: text, a
// picture, a file list and a private format saved and given back byte for
// byte; a clipboard held a moment by another thread waited for; a reader
// known by the window it opened the clipboard with; an OLE program's data
// object given back without having its storage rendered.
#include "engine/ClipboardKeeper.h"
#include "platform/Clock.h"
#include "win32/Clipboard.h"

#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane {
namespace {

struct StepClock : IClock {
    TLocalTime Now() const override { return {}; }
    std::uint64_t Milliseconds() const override { return ms; }
    std::uint64_t ms = 1000;
};

std::string WideBytes(const wchar_t* text)
{
    return std::string(reinterpret_cast<const char*>(text), (std::wcslen(text) + 1) * sizeof(wchar_t));
}

// The text of a format as a program reads it, up to its terminating zero.
std::wstring TextOf(const std::optional<std::string>& bytes)
{
    if (!bytes)
        return L"(none)";
    std::wstring text(bytes->size() / 2, L'\0');
    std::memcpy(text.data(), bytes->data(), text.size() * 2);
    return text.substr(0, text.find(L'\0'));
}

// Whether a format's content begins with `expected` (the system may round its size up).
bool BeginsWith(const std::optional<std::string>& bytes, const std::string& expected)
{
    return bytes && bytes->compare(0, expected.size(), expected) == 0;
}

// The content of a format as a program reads it, or nothing.
std::optional<std::string> ReadFormat(HWND reader, UINT format)
{
    if (!::OpenClipboard(reader))
        return std::nullopt;
    std::optional<std::string> bytes;
    if (HANDLE data = ::GetClipboardData(format)) {
        if (const void* p = ::GlobalLock(data)) {
            bytes = std::string(static_cast<const char*>(p), ::GlobalSize(data));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return bytes;
}

void PutFormats(HWND owner, const TClipboardFormats& formats)
{
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    for (const TClipboardFormat& f : formats) {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, f.bytes.size());
        std::memcpy(::GlobalLock(memory), f.bytes.data(), f.bytes.size());
        ::GlobalUnlock(memory);
        ASSERT_TRUE(::SetClipboardData(f.format, memory));
    }
    ::CloseClipboard();
}

// A 2 x 2 picture of 32 bits a pixel, as a device-independent bitmap.
std::string SmallPicture()
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = 16;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += std::string("\x10\x20\x30\x00\x40\x50\x60\x00\x70\x80\x90\x00\xA0\xB0\xC0\x00", 16);
    return bytes;
}

// A file list as Explorer copies it: the header, then wide paths, a double zero.
std::string FileList()
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const wchar_t* path : {L"C:\\Users\\ann\\a.txt", L"C:\\Users\\ann\\b c.txt"})
        bytes += WideBytes(path);
    bytes += std::string(2, '\0');
    return bytes;
}

// Another program (tests/wine/tools/ole_clipboard_peer), with its output at
// hand. While it is waited for, this thread serves the calls other programs
// make into its objects, as a program's message loop does.
class Peer {
public:
    explicit Peer(const std::string& arguments)
    {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string command = path;
        command = "\"" + command.substr(0, command.find_last_of('\\') + 1) + "ole_clipboard_peer.exe\" " + arguments;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE childOut = nullptr;
        HANDLE childIn = nullptr;
        if (!::CreatePipe(&out_, &childOut, &inherit, 0) || !::CreatePipe(&childIn, &in_, &inherit, 0))
            return;
        ::SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = childOut;
        startup.hStdError = childOut;
        startup.hStdInput = childIn;
        PROCESS_INFORMATION info{};
        if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
            process_ = info.hProcess;
            ::CloseHandle(info.hThread);
        }
        ::CloseHandle(childOut);
        ::CloseHandle(childIn);
    }
    ~Peer()
    {
        if (process_) {
            ::TerminateProcess(process_, 1);
            ::CloseHandle(process_);
        }
        for (HANDLE h : {out_, in_})
            if (h)
                ::CloseHandle(h);
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // Until the program printed `line` (or ended, or 20 s passed).
    bool WaitFor(const std::string& line)
    {
        const ULONGLONG start = ::GetTickCount64();
        while (!Saw(line) && ::GetTickCount64() - start < 20000) {
            Pump();
            if (!ReadOutput() && ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0 && !ReadOutput())
                break;
        }
        return Saw(line);
    }
    // What the program printed by now, calls into this program served a while.
    void Settle()
    {
        const ULONGLONG start = ::GetTickCount64();
        while (::GetTickCount64() - start < 300) {
            Pump();
            ReadOutput();
        }
    }
    bool Saw(const std::string& text) const { return output_.find(text) != std::string::npos; }
    const std::string& Output() const { return output_; }
    // Tells the program to end and waits until it has.
    bool End()
    {
        DWORD written = 0;
        ::WriteFile(in_, "end\n", 4, &written, nullptr);
        const ULONGLONG start = ::GetTickCount64();
        while (::WaitForSingleObject(process_, 10) == WAIT_TIMEOUT && ::GetTickCount64() - start < 20000)
            Pump();
        ReadOutput();
        return ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    }

private:
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    bool ReadOutput()
    {
        DWORD waiting = 0;
        if (!out_ || !::PeekNamedPipe(out_, nullptr, 0, nullptr, &waiting, nullptr) || !waiting)
            return false;
        std::string bytes(waiting, '\0');
        DWORD read = 0;
        if (::ReadFile(out_, bytes.data(), waiting, &read, nullptr))
            for (DWORD i = 0; i < read; ++i)
                if (bytes[i] != '\r') // its lines end as a console program's do
                    output_ += bytes[i];
        return read > 0;
    }

    HANDLE process_ = nullptr;
    HANDLE out_ = nullptr;
    HANDLE in_ = nullptr;
    std::string output_;
};

class KeptClipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        other = ::CreateWindowExA(0, "STATIC", "other program", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        reader = ::CreateWindowExA(0, "STATIC", "target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        clipboard = std::make_unique<win32::Win32ReplyClipboard>(
            ::GetModuleHandleA(nullptr),
            [this](std::uint32_t process) {
                readers.push_back(process);
                keeper->ReplyRead(process);
            },
            [] { return false; });
        keeper = std::make_unique<TClipboardKeeper>(*clipboard, clock);
    }
    void TearDown() override
    {
        keeper.reset();
        clipboard.reset();
        ::DestroyWindow(other);
        ::DestroyWindow(reader);
        ::OleUninitialize();
    }
    // The reply offered, read by the target (this process), and the user's clipboard given back.
    void DeliverAndGiveBack(TOffer expected = TOffer::Kept)
    {
        ASSERT_EQ(keeper->OfferReply({{CF_UNICODETEXT, WideBytes(L"the reply")}}), expected);
        keeper->PastingInto(::GetCurrentProcessId());
        EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"the reply");
        clock.ms += ClipboardQuietMs;
        keeper->Tick();
        EXPECT_FALSE(keeper->Waiting());
    }

    StepClock clock;
    std::unique_ptr<win32::Win32ReplyClipboard> clipboard;
    std::unique_ptr<TClipboardKeeper> keeper;
    HWND other = nullptr;
    HWND reader = nullptr;
    std::vector<std::uint32_t> readers;
};

TEST_F(KeptClipboard, TextAPictureAFileListAndAPrivateFormatComeBackByteForByte)
{
    const UINT privateFormat = ::RegisterClipboardFormatA("Corvane Test Private");
    const std::string privateBytes("\x01\x00\x02\xFF", 4);
    PutFormats(other,
        {{CF_UNICODETEXT, WideBytes(L"user text \u00e9\u4e2d")}, {CF_DIB, SmallPicture()}, {CF_HDROP, FileList()},
            {privateFormat, privateBytes}});
    DeliverAndGiveBack();
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"user text \u00e9\u4e2d");
    EXPECT_TRUE(BeginsWith(ReadFormat(reader, CF_HDROP), FileList()));
    EXPECT_TRUE(BeginsWith(ReadFormat(reader, privateFormat), privateBytes));
    // The picture as it was copied: its header and its pixels.
    const std::optional<std::string> picture = ReadFormat(reader, CF_DIB);
    ASSERT_TRUE(picture.has_value());
    ASSERT_GE(picture->size(), SmallPicture().size());
    EXPECT_EQ(picture->substr(0, sizeof(BITMAPINFOHEADER)), SmallPicture().substr(0, sizeof(BITMAPINFOHEADER)));
    EXPECT_EQ(picture->substr(picture->size() - 16), SmallPicture().substr(sizeof(BITMAPINFOHEADER)));
    // Formats the system makes from those are there again without having been kept.
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(KeptClipboard, TheReaderIsKnownByTheWindowItOpenedTheClipboardWith)
{
    PutFormats(other, {{CF_UNICODETEXT, WideBytes(L"user text")}});
    ASSERT_EQ(keeper->OfferReply({{CF_UNICODETEXT, WideBytes(L"a")}, {CF_TEXT, "a"}}), TOffer::Kept);
    keeper->PastingInto(::GetCurrentProcessId() + 1); // the target is another program
    EXPECT_TRUE(ReadFormat(nullptr, CF_TEXT).has_value());
    EXPECT_TRUE(ReadFormat(reader, CF_UNICODETEXT).has_value());
    EXPECT_EQ(readers, (std::vector<std::uint32_t>{0, static_cast<std::uint32_t>(::GetCurrentProcessId())}));
    // Neither read was the target's: the reply stays until the ceiling.
    clock.ms += ClipboardCeilingMs - 50;
    keeper->Tick();
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"a");
    clock.ms += 50;
    keeper->Tick();
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"user text");
}

TEST_F(KeptClipboard, AClipboardHeldAMomentByAnotherProgramIsWaitedForAndComesBack)
{
    PutFormats(other, {{CF_UNICODETEXT, WideBytes(L"user text")}});
    std::atomic<bool> holding{false};
    std::thread holder([&] {
        HWND window = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        if (::OpenClipboard(window)) {
            holding = true;
            ::Sleep(150);
            ::CloseClipboard();
        }
        holding = true;
        ::DestroyWindow(window);
    });
    while (!holding)
        ::Sleep(1);
    DeliverAndGiveBack();
    holder.join();
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"user text");
}

TEST_F(KeptClipboard, AnOleProgramsObjectComesBackWithoutItsStorageRenderedAndPastesElsewhere)
{
    const UINT embed = ::RegisterClipboardFormatA("Corvane Test Embed Source");
    Peer source("source \"user text\"");
    ASSERT_TRUE(source.WaitFor("ready")) << source.Output();
    DeliverAndGiveBack();
    source.Settle();
    // The save read the text the object offers in memory, never its stream.
    EXPECT_TRUE(source.Saw("rendered text")) << source.Output();
    EXPECT_FALSE(source.Saw("rendered embed")) << source.Output();
    // What is on the clipboard now is an object again, offering what the program offered.
    EXPECT_TRUE(::IsClipboardFormatAvailable(embed));
    EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("DataObject")));

    Peer paster("paste");
    ASSERT_TRUE(paster.WaitFor("done")) << paster.Output();
    std::printf("what the other program got:\n%s", paster.Output().c_str()); // for the record
    EXPECT_TRUE(paster.Saw("listed embed tymed=4\n")) << paster.Output(); // a stream, as offered
    EXPECT_TRUE(paster.Saw("object-text=user text\n")) << paster.Output();
    EXPECT_TRUE(paster.Saw("win32-text=user text\n")) << paster.Output();
    // A plain program's read of the stream ends at once, with the stream or with nothing.
    EXPECT_TRUE(paster.Saw("win32-embed=embedded workbook in") || paster.Saw("win32-embed=(none) in"))
        << paster.Output();
    // The stream is asked of the program itself where the system lets it be; it is never anything else.
    source.Settle();
    if (paster.Saw("\nembed=")) {
        EXPECT_TRUE(paster.Saw("embed=embedded workbook in")) << paster.Output();
        EXPECT_TRUE(source.Saw("rendered embed"));
    } else {
        EXPECT_TRUE(paster.Saw("embed-failed=")) << paster.Output();
        EXPECT_FALSE(source.Saw("rendered embed")) << source.Output();
    }

    // The next delivery finds the object given back and keeps it as it is; its
    // program ends meanwhile: the text comes back as a plain program's copy.
    const size_t renderedBefore = source.Output().size();
    ASSERT_EQ(keeper->OfferReply({{CF_UNICODETEXT, WideBytes(L"the reply")}}), TOffer::Kept);
    source.Settle();
    EXPECT_EQ(source.Output().size(), renderedBefore); // nothing asked of the program again
    ASSERT_TRUE(source.End()) << source.Output();
    keeper->PastingInto(::GetCurrentProcessId());
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"the reply");
    clock.ms += ClipboardQuietMs;
    keeper->Tick();
    EXPECT_FALSE(keeper->Waiting());
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"user text");
    EXPECT_FALSE(::IsClipboardFormatAvailable(embed));
}

TEST_F(KeptClipboard, AnOleProgramSlowToRenderIsKeptAsItIs)
{
    Peer source("source \"user text\" slow");
    ASSERT_TRUE(source.WaitFor("ready")) << source.Output();
    // Its text takes longer than a save may spend: the object is kept all the same.
    DeliverAndGiveBack();
    EXPECT_EQ(TextOf(ReadFormat(reader, CF_UNICODETEXT)), L"user text");
    EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("Corvane Test Embed Source")));
    source.Settle();
    EXPECT_FALSE(source.Saw("rendered embed")) << source.Output();
}

} // namespace
} // namespace corvane
