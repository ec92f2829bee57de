#pragma once
// A modal dialog built in code: an empty dialog frame of an exact client size
// in pixels of a 96-DPI display, whose controls the derived class creates when
// it starts. Every size is scaled to the dialog's DPI.
#include <windows.h>

#include <string>

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

    virtual void OnStart() = 0;
    virtual void OnCommand(int id, int notification) = 0;
    // Message handlers a dialog may add; return true when handled.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void SizeAndCentre();

    HWND dialog_ = nullptr;
    HWND centreOn_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
};

} // namespace corvane::win32
