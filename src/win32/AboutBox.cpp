#include "win32/AboutBox.h"

#include "shell/UnitHelpLinks.h"
#include "win32/Handles.h"
#include "win32/ModalDialog.h"
#include "win32/ShellOpen.h"

namespace corvane::win32 {

namespace {

enum ControlId { IdLogo = 101, IdTitle, IdLink };

constexpr COLORREF kBackground = RGB(240, 240, 255);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);

class AboutBox final : public ModalDialog {
public:
    explicit AboutBox(HICON logo) : logo_(logo), background_(::CreateSolidBrush(kBackground)) { }

    void Show(HWND mainWindow)
    {
        Run(mainWindow, mainWindow, "Corvane - About", WS_POPUP | WS_CAPTION | WS_SYSMENU, 380, 200);
    }

private:
    void OnStart() override
    {
        AddControl("STATIC", nullptr, SS_ICON, IdLogo, 24, 24, 32, 32);
        ::SendDlgItemMessageA(Dialog(), IdLogo, STM_SETICON, reinterpret_cast<WPARAM>(logo_), 0);
        HWND title = AddControl("STATIC", kAboutTitle, SS_LEFT, IdTitle, 80, 28, 280, 32);
        titleFont_.Reset(MakeFont(-Scaled(24), FW_BOLD, false, "Arial"));
        ::SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);
        HWND link = AddControl("STATIC", MakerSiteDisplayText().c_str(), SS_LEFT | SS_NOTIFY, IdLink, 80, 84, 280, 20);
        linkFont_.Reset(MakeFont(-Scaled(13), FW_NORMAL, true, "MS Shell Dlg"));
        ::SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
        AddControl("BUTTON", "Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 150, 156, 80, 26);
    }

    static HGDIOBJ MakeFont(int height, int weight, bool underline, const char* face)
    {
        return ::CreateFontA(height, 0, 0, 0, weight, FALSE, underline, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    }

    void OnCommand(int id, int notification) override
    {
        if (id == IdLink && notification == STN_CLICKED)
            OpenDocument(WebPageAddress(WebPage::MakerHome, LinkSource::AboutBox));
        else if ((id == IDOK || id == IDCANCEL) && notification == BN_CLICKED)
            End(IDOK);
    }

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        switch (msg) {
        case WM_CTLCOLORDLG:
            result = reinterpret_cast<INT_PTR>(background_.Get());
            return true;
        case WM_CTLCOLORSTATIC: {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            ::SetBkColor(dc, kBackground);
            ::SetTextColor(dc, id == IdLink ? kLinkBlue : kNavy);
            result = reinterpret_cast<INT_PTR>(background_.Get());
            return true;
        }
        case WM_SETCURSOR:
            if (::GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) != IdLink)
                return false;
            ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
            ::SetWindowLongPtrA(Dialog(), DWLP_MSGRESULT, TRUE);
            result = TRUE;
            return true;
        default:
            return false;
        }
    }

    HICON logo_;
    UniqueGdiObject background_;
    UniqueGdiObject titleFont_;
    UniqueGdiObject linkFont_;
};

} // namespace

void ShowAboutBox(HWND mainWindow, HICON logo)
{
    AboutBox box(logo);
    box.Show(mainWindow);
}

} // namespace corvane::win32
