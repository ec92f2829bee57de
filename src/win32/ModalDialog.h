#pragma once
// A modal dialog built in code: an empty dialog frame of an exact client size
// in pixels of a 96-DPI display, whose controls the derived class creates when
// it starts. It opens on the monitor it belongs to, and every size is scaled
// to that monitor's DPI.
#include <windows.h>

#include <string>

#include "shell/MonitorPlacement.h"

namespace corvane::win32 {

class ModalDialog {
public:
    ModalDialog() = default;
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Runs the dialog; `centreOn` is the window it is centred on (the screen
    // when null), `owner` the window it belongs to. Returns the end code.
    INT_PTR Run(HWND owner, HWND centreOn, const std::string& caption, DWORD style, int clientWidth, int clientHeight);

protected:
    HWND Dialog() const { return dialog_; }
    HWND AddControl(const char* className, const char* text, DWORD style, int id, int x, int y, int width, int height,
        DWORD exStyle = 0);
    void End(INT_PTR result);
    // A length in 96-DPI pixels at the dialog's DPI: for fonts of its own.
    int Scaled(int pixels) const;
    int Unscaled(int pixels) const;
    RECT Scaled(const RECT& r) const { return {Scaled(r.left), Scaled(r.top), Scaled(r.right), Scaled(r.bottom)}; }

    // Where the dialog opens, before its controls are made. By default it is
    // centred on `centreOn` (the owner when there is none) at the client size
    // given to Run, on that window's monitor at the monitor's scale.
    virtual TRect StartRect(const IMonitors& monitors, const TFrameStyle& style) const;
    HWND Owner() const { return owner_; }

    virtual void OnStart() = 0;
    virtual void OnCommand(int id, int notification) = 0;
    // Message handlers a dialog may add; return true when handled.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void MoveToStart();

    HWND dialog_ = nullptr;
    HWND owner_ = nullptr;
    HWND centreOn_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};

} // namespace corvane::win32
