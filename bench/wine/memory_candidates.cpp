// Where a delivery's memory goes (not a test): each candidate of the typing
// soak's growth is run alone, in this one process, as many times as the soak
// delivers, and the working set is read after a warm-up and at the end (Wine
// reports no private bytes).
//   memory_candidates [cycles]   (default 3000, after 300 of warm-up)
// Prints one line per candidate: "candidate NAME ws_kib BEFORE AFTER per_cycle_bytes N".
#include "engine/PredefinedInsertions.h"
#include "engine/ReplaceInReply.h"
#include "win32/Clipboard.h"
#include "win32/RichEditControl.h"
#include "wine/WholeDocumentStream.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace corvane;

SIZE_T WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Measure(const char* name, int cycles, const std::function<void()>& cycle)
{
    constexpr int kWarmUp = 300;
    for (int i = 0; i < kWarmUp; ++i) {
        cycle();
        Pump();
    }
    const SIZE_T before = WorkingSet();
    for (int i = 0; i < cycles; ++i) {
        cycle();
        Pump();
    }
    const SIZE_T after = WorkingSet();
    std::printf("candidate %-10s ws_kib %zu %zu per_cycle_bytes %.0f\n", name, before / 1024, after / 1024,
        (static_cast<double>(after) - static_cast<double>(before)) / cycles);
    std::fflush(stdout);
}

// The soak's parametric reply, as RichEdit writes it.
const std::string kReply
    = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 "
      "Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 See you on \\b DAY\\b0  at TIME.\\par\r\n}\r\n";

} // namespace

int main(int argc, char** argv)
{
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 3000;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    LoadLibraryA("riched20.dll");
    HWND window = CreateWindowExA(
        0, "STATIC", "Memory Candidates", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND editHandle = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400, 300,
        window, nullptr, nullptr, nullptr);
    win32::RichEditControl editor(editHandle);
    editor.LoadRtf(kReply);
    const std::string shown = editor.SaveRtf();
    const TLocalTime now{2026, 12, 9, 7, 30, 0};
    int n = 0;

    // What a delivery does with the editor, without the clipboard: the
    // reply loaded, the names and the placeholders filled in, the shown
    // reply put back.
    Measure("editor", cycles, [&] {
        const std::string before = editor.SaveRtf();
        const std::string values = "Mon" + std::to_string(++n) + "\x01noon";
        const std::string placeholderValues = PredefinedValues(now);
        LoadReplaced(editor, kReply, {{"DAY,TIME", values}, {PredefinedNames(), placeholderValues}});
        editor.LoadRtf(before);
        editor.SetModified(false);
    });
    std::printf(
        "undo steps held after the editor cycles: %s\n", SendMessageA(editHandle, EM_CANUNDO, 0, 0) ? "some" : "none");

    // The control alone: the reply streamed in as a whole document, as the
    // adapter once did (Wine's RichEdit keeps some bytes at each load of RTF
    // that ends in a paragraph mark), then plain text, then the adapter's load.
    Measure("wholedoc", cycles, [&] { testing::StreamInWholeDocument(editHandle, kReply); });
    Measure("plaintext", cycles, [&] { editor.LoadRtf("plain text " + std::to_string(++n) + "\r\nline two"); });
    Measure("adapter", cycles, [&] { editor.LoadRtf(kReply); });

    // The editor's two stream-outs of a copy, kept only as strings.
    Measure("streamout", cycles, [&] {
        const std::string rtf = editor.StreamOut(SF_RTF);
        const std::string text = editor.StreamOut(SF_TEXT);
        if (rtf.empty() || text.empty())
            std::abort();
    });

    // The clipboard alone: rich text and plain text of the same sizes.
    const UINT richText = RegisterClipboardFormatA(CF_RTF);
    const std::string rtf = editor.StreamOut(SF_RTF);
    const std::string text = editor.StreamOut(SF_TEXT);
    Measure("clipboard", cycles, [&] {
        if (!win32::ReplaceClipboard(window, {{richText, rtf}, {CF_TEXT, text}}))
            std::abort();
    });

    // The editor's own copy of the whole content, as a delivery makes it.
    Measure("copyall", cycles, [&] {
        if (!editor.CopyAllToClipboard())
            std::abort();
    });

    // The process heap alone: the strings of one delivery, allocated and freed.
    Measure("heap", cycles, [&] {
        std::vector<std::string> strings;
        for (int i = 0; i < 12; ++i)
            strings.emplace_back(kReply.size() + static_cast<size_t>(i) * 16, 'x');
    });

    // The window messages of one delivery's keys (hook notifications).
    Measure("messages", cycles, [&] {
        for (int i = 0; i < 24; ++i)
            PostMessageA(window, WM_USER + 1, static_cast<WPARAM>(i), 0);
    });
    DestroyWindow(window);
    OleUninitialize();
    return 0;
}
