#pragma once
// Replacing the clipboard's content, in one or more formats at once; and the
// clipboard the paste routes borrow, owned by a window of its own that renders
// the reply when a program reads it.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "platform/Clipboard.h"

namespace corvane::win32 {

struct ClipboardEntry {
    UINT format;
    const std::string& bytes; // a terminating zero is added, two bytes wide for UTF-16 text
};

// False when the clipboard could not be taken (another program holds it)
// or an entry could not be placed.
[[nodiscard]] bool ReplaceClipboard(HWND owner, std::initializer_list<ClipboardEntry> entries);
[[nodiscard]] bool ReplaceClipboard(HWND owner, const TClipboardFormats& formats);

class Win32ReplyClipboard final : public IClipboard {
public:
    // `onRead` follows each format rendered for a reader, with the id of the
    // reader's program (0 when it opened the clipboard without a window);
    // `onTick` is called every 50 ms while a reply is out and answers whether to go on.
    Win32ReplyClipboard(HINSTANCE instance, std::function<void(std::uint32_t)> onRead, std::function<bool()> onTick);
    // A reply still offered is rendered whole as the window goes; the
    // user's data object put back is flushed to stay after this program.
    ~Win32ReplyClipboard();
    Win32ReplyClipboard(const Win32ReplyClipboard&) = delete;
    Win32ReplyClipboard& operator=(const Win32ReplyClipboard&) = delete;

    TSavedClipboard Save(const TClipboardLimits& limits) override;
    bool Offer(const TClipboardFormats& reply) override;
    bool Restore(const TSavedClipboard& saved) override;
    std::uint32_t SequenceNumber() const override { return ::GetClipboardSequenceNumber(); }
    bool OwnedHere() const override { return window_ && ::GetClipboardOwner() == window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Render(UINT format);
    void RenderAll();
    bool RestoreBytes(const TClipboardFormats& formats);
    // A clipboard put there as a data object: the object kept, what it offers
    // on a flat medium copied; nothing when the object cannot be had.
    std::optional<TSavedClipboard> SaveDataObject(const TClipboardLimits& limits);

    HWND window_ = nullptr;
    TClipboardFormats offered_; // the reply, until the clipboard is emptied
    std::shared_ptr<void> givenBack_; // the user's data object last put back
    std::function<void(std::uint32_t)> onRead_;
    std::function<bool()> onTick_;
};

} // namespace corvane::win32
