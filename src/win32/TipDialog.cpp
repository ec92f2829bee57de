#include "win32/TipDialog.h"

#include "library/UnitCommonProcs.h"
#include "shell/UnitTipDialog.h"
#include "win32/Handles.h"
#include "win32/ModalDialog.h"
#include "win32/Win32MessageBoxes.h"

#include <memory>

namespace corvane::win32 {

namespace {

enum ControlId { IdPicture = 101, IdHeading, IdTipText, IdShowNextTime, IdNext };

constexpr RECT kFrame{8, 8, 424, 186};
constexpr RECT kStrip{10, 10, 82, 184};
constexpr RECT kWhite{82, 10, 422, 184};
constexpr RECT kRule{92, 46, 412, 48};

class TipDialog final : public ModalDialog, private ITipView {
public:
    explicit TipDialog(IRegistry& registry) : model_(registry, *this, random_) { }

    // Modal to the main window, which owns it.
    void Show(HWND mainWindow)
    {
        if (model_.IsOpen()) {
            ::SetForegroundWindow(Dialog());
            return;
        }
        Run(mainWindow, mainWindow, "Tip of the Day", WS_POPUP | WS_CAPTION, 432, 220);
    }
    // Checks the box as the start-up tick wants it; true when the tip is due.
    bool PrepareStartupTip() { return model_.PrepareStartupTip(); }

private:
    void OnStart() override
    {
        // The box is set before the window exists on a start-up tick; carry it over.
        const bool showNext = showNextTime_;
        AddControl("STATIC", nullptr, SS_ICON | SS_CENTERIMAGE, IdPicture, kStrip.left, kStrip.top + 8,
            kStrip.right - kStrip.left, 48);
        ::SendDlgItemMessageA(
            Dialog(), IdPicture, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IDI_INFORMATION)), 0);
        HWND heading = AddControl("STATIC", "Did you know...", SS_LEFT, IdHeading, 92, 16, 320, 28);
        headingFont_.Reset(::CreateFontA(-Scaled(21), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Times New Roman"));
        ::SendMessageA(heading, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.Get()), FALSE);
        AddControl("STATIC", "", SS_LEFT | SS_NOPREFIX, IdTipText, 92, 56, 329, 121);
        AddControl("BUTTON", "&Show tips at startup", BS_AUTOCHECKBOX | WS_TABSTOP, IdShowNextTime, 8, 194, 220, 20);
        AddControl("BUTTON", "&Next", BS_PUSHBUTTON | WS_TABSTOP, IdNext, 262, 192, 78, 24);
        HWND close = AddControl("BUTTON", "&Close", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 346, 192, 78, 24);
        SetShowNextTime(showNext);
        model_.Shown();
        ::SetFocus(close);
    }

    void OnCommand(int id, int notification) override
    {
        if (notification != BN_CLICKED)
            return;
        switch (id) {
        case IdNext:
            model_.Next();
            break;
        case IdShowNextTime:
            showNextTime_ = ::IsDlgButtonChecked(Dialog(), IdShowNextTime) == BST_CHECKED;
            break;
        case IDOK:
        case IDCANCEL: // Esc and Alt+F4
            model_.Closed();
            End(IDOK);
            break;
        default:
            break;
        }
    }

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        if (msg == WM_CTLCOLORSTATIC) {
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != IdPicture && id != IdHeading && id != IdTipText)
                return false;
            const bool onBlack = id == IdPicture;
            ::SetBkColor(reinterpret_cast<HDC>(wParam), onBlack ? RGB(0, 0, 0) : RGB(255, 255, 255));
            result = reinterpret_cast<INT_PTR>(::GetStockObject(onBlack ? BLACK_BRUSH : WHITE_BRUSH));
            return true;
        }
        if (msg == WM_PAINT) {
            PaintFrame();
            result = TRUE;
            return true;
        }
        return false;
    }

    void PaintFrame()
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Dialog(), &ps);
        RECT frame = Scaled(kFrame);
        const RECT strip = Scaled(kStrip), white = Scaled(kWhite), rule = Scaled(kRule);
        ::DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
        ::FillRect(dc, &strip, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::FillRect(dc, &white, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FillRect(dc, &rule, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::EndPaint(Dialog(), &ps);
    }

    void SetShowNextTime(bool checked) override
    {
        showNextTime_ = checked;
        if (Dialog())
            ::CheckDlgButton(Dialog(), IdShowNextTime, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    bool ShowNextTime() const override { return showNextTime_; }
    void SetNextEnabled(bool enabled) override { ::EnableWindow(::GetDlgItem(Dialog(), IdNext), enabled); }
    void SetTipText(const std::string& text) override { ::SetDlgItemTextA(Dialog(), IdTipText, text.c_str()); }
    void ShowError(const std::string& text) override
    {
        const MessageBoxOwnerScope owner(Dialog());
        corvane::ShowError(text);
    }

    TClockRandomSource random_;
    TTipDialogModel model_;
    bool showNextTime_ = false;
    UniqueGdiObject headingFont_;
};

TipDialog& TheTipDialog(IRegistry& registry)
{
    static std::unique_ptr<TipDialog> dialog;
    if (!dialog)
        dialog = std::make_unique<TipDialog>(registry);
    return *dialog;
}

} // namespace

void ShowTipOfTheDay(HWND mainWindow, IRegistry& registry) { TheTipDialog(registry).Show(mainWindow); }

void ShowStartupTip(HWND mainWindow, IRegistry& registry)
{
    TipDialog& dialog = TheTipDialog(registry);
    if (dialog.PrepareStartupTip())
        dialog.Show(mainWindow);
}

} // namespace corvane::win32
