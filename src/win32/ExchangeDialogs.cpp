#include "win32/ExchangeDialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "exchange/ImportSet.h"
#include "exchange/UsageStats.h"
#include "win32/Handles.h"
#include "win32/ModalDialog.h"

namespace corvane::win32 {

namespace {

enum ControlId {
    IdSummary = 101,
    IdComing,
    IdNotTaken,
    IdNotTakenLabel,
    IdChart,
    IdUnused,
    IdCounting,
    IdSpeed,
    IdClear,
    IdSaved,
    IdSpeedLabel,
    IdUnusedLabel,
    IdChartLabel
};

void AddColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    ListView_InsertColumn(list, index, &column);
}

void AddRow(HWND list, std::initializer_list<std::string> cells)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    int sub = 0;
    for (const std::string& cell : cells) {
        item.iSubItem = sub;
        item.pszText = const_cast<char*>(cell.c_str());
        if (sub++ == 0)
            item.iItem = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        else
            ::SendMessageA(list, LVM_SETITEMTEXTA, item.iItem, reinterpret_cast<LPARAM>(&item));
    }
}

std::string Joined(const std::vector<std::string>& folders, const std::string& top)
{
    std::string path = top;
    for (const std::string& f : folders)
        path += " / " + f;
    return path;
}

class ImportPreview final : public ModalDialog {
public:
    ImportPreview(const std::string& fileName, const TImportSet& set) : fileName_(fileName), set_(set) { }

private:
    void OnStart() override
    {
        const std::string summary = ImportSummary(set_, fileName_);
        AddControl("STATIC", summary.c_str(), SS_LEFT, IdSummary, 12, 10, 676, 34);
        HWND coming = AddControl(
            WC_LISTVIEWA, "", LVS_REPORT | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, IdComing, 12, 46, 676, 250);
        ListView_SetExtendedListViewStyle(coming, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        AddColumn(coming, 0, "Folder", Scaled(170));
        AddColumn(coming, 1, "Name", Scaled(170));
        AddColumn(coming, 2, "Macro", Scaled(110));
        AddColumn(coming, 3, "Marked", Scaled(220));
        for (const TImportReply& r : set_.replies)
            AddRow(coming, {Joined(r.folders, fileName_), r.name, r.macro, r.note});
        AddControl("STATIC", "Not taken:", SS_LEFT, IdNotTakenLabel, 12, 304, 300, 18);
        HWND notTaken = AddControl(
            WC_LISTVIEWA, "", LVS_REPORT | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP, IdNotTaken, 12, 324, 676, 120);
        ListView_SetExtendedListViewStyle(notTaken, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        AddColumn(notTaken, 0, "Entry", Scaled(200));
        AddColumn(notTaken, 1, "Reason", Scaled(450));
        for (const TNotTaken& n : set_.notTaken)
            AddRow(notTaken, {n.what, n.reason});
        AddControl("BUTTON", "Import", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 512, 456, 84, 26);
        AddControl("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 604, 456, 84, 26);
        if (set_.replies.empty())
            ::EnableWindow(::GetDlgItem(Dialog(), IDOK), FALSE);
        ::SetFocus(::GetDlgItem(Dialog(), set_.replies.empty() ? IDCANCEL : IDOK));
    }
    void OnCommand(int id, int notification) override
    {
        if ((id == IDOK || id == IDCANCEL) && notification == BN_CLICKED)
            End(id);
    }
    const std::string& fileName_;
    const TImportSet& set_;
};

class StatisticsWindow final : public ModalDialog {
public:
    StatisticsWindow(TStatisticsChoice choice, TStatisticsView (*rebuild)(void*, int, bool), void* context)
        : choice_(choice), rebuild_(rebuild), context_(context), view_(rebuild(context, choice.wordsPerMinute, false))
    { }
    TStatisticsChoice Choice() const { return choice_; }

private:
    void OnStart() override
    {
        AddControl("STATIC", "", SS_LEFT, IdSaved, 12, 10, 536, 40);
        AddControl("STATIC", "Most used replies:", SS_LEFT, IdChartLabel, 12, 56, 300, 18);
        AddControl("STATIC", "", SS_OWNERDRAW, IdChart, 12, 76, 536, 200);
        AddControl("STATIC", "Not used in the last 90 days:", SS_LEFT, IdUnusedLabel, 12, 284, 300, 18);
        AddControl(
            "LISTBOX", "", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, IdUnused, 12, 304, 536, 110);
        AddControl("STATIC", "Typing speed (words a minute):", SS_LEFT, IdSpeedLabel, 12, 428, 190, 20);
        AddControl("EDIT", std::to_string(choice_.wordsPerMinute).c_str(), ES_NUMBER | WS_BORDER | WS_TABSTOP, IdSpeed,
            204, 426, 50, 22);
        AddControl(
            "BUTTON", "Count how often replies are used", BS_AUTOCHECKBOX | WS_TABSTOP, IdCounting, 270, 428, 278, 20);
        ::CheckDlgButton(Dialog(), IdCounting, choice_.countingOn ? BST_CHECKED : BST_UNCHECKED);
        AddControl("BUTTON", "Clear figures", BS_PUSHBUTTON | WS_TABSTOP, IdClear, 12, 462, 110, 26);
        AddControl("BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 464, 462, 84, 26);
        Fill();
    }
    void Fill()
    {
        const std::string saved = "Time saved:   this week " + MinutesText(view_.saved.weekMinutes) + ",   this month "
            + MinutesText(view_.saved.monthMinutes) + ",   in all " + MinutesText(view_.saved.allMinutes)
            + ".\nFigures are kept on this computer only: counts, never text.";
        ::SetDlgItemTextA(Dialog(), IdSaved, saved.c_str());
        HWND unused = ::GetDlgItem(Dialog(), IdUnused);
        ::SendMessageA(unused, LB_RESETCONTENT, 0, 0);
        for (const std::string& name : view_.unused)
            ::SendMessageA(unused, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::InvalidateRect(::GetDlgItem(Dialog(), IdChart), nullptr, TRUE);
    }
    void DrawChart(const DRAWITEMSTRUCT& item) const
    {
        const HDC dc = item.hDC;
        RECT r = item.rcItem;
        ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::SetBkMode(dc, TRANSPARENT);
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(Dialog(), WM_GETFONT, 0, 0)));
        if (view_.mostUsed.empty()) {
            ::DrawTextA(dc, "No reply delivered yet.", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            return;
        }
        const long long most = view_.mostUsed.front().second;
        const int rows = 10;
        const int rowHeight = (r.bottom - r.top) / rows;
        const int labelWidth = (r.right - r.left) * 2 / 5;
        UniqueGdiObject bar(::CreateSolidBrush(RGB(31, 73, 125)));
        for (size_t i = 0; i < view_.mostUsed.size() && static_cast<int>(i) < rows; ++i) {
            const auto& [name, count] = view_.mostUsed[i];
            const int top = r.top + static_cast<int>(i) * rowHeight;
            RECT label{r.left + 4, top, r.left + labelWidth - 4, top + rowHeight};
            ::DrawTextA(dc, name.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
            const int full = (r.right - r.left) - labelWidth - Scaled(48);
            const int length = std::max(2, static_cast<int>(full * count / std::max(1LL, most)));
            RECT b{r.left + labelWidth, top + 3, r.left + labelWidth + length, top + rowHeight - 3};
            ::FillRect(dc, &b, static_cast<HBRUSH>(bar.Get()));
            RECT number{b.right + 4, top, r.right, top + rowHeight};
            ::DrawTextA(dc, std::to_string(count).c_str(), -1, &number, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }
    void OnCommand(int id, int notification) override
    {
        if (id == IdSpeed && notification == EN_CHANGE) {
            const int wpm = static_cast<int>(::GetDlgItemInt(Dialog(), IdSpeed, nullptr, FALSE));
            if (wpm >= 5 && wpm <= 300) {
                choice_.wordsPerMinute = wpm;
                view_ = rebuild_(context_, wpm, false);
                Fill();
            }
        } else if (id == IdCounting && notification == BN_CLICKED) {
            choice_.countingOn = ::IsDlgButtonChecked(Dialog(), IdCounting) == BST_CHECKED;
        } else if (id == IdClear && notification == BN_CLICKED) {
            if (::MessageBoxA(Dialog(), "Clear every usage figure?", "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES) {
                choice_.cleared = true;
                view_ = rebuild_(context_, choice_.wordsPerMinute, true);
                Fill();
            }
        } else if ((id == IDOK || id == IDCANCEL) && notification == BN_CLICKED) {
            End(IDOK);
        }
    }
    bool OnMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR& result) override
    {
        if (msg != WM_DRAWITEM)
            return false;
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID != IdChart)
            return false;
        DrawChart(item);
        result = TRUE;
        return true;
    }
    TStatisticsChoice choice_;
    TStatisticsView (*rebuild_)(void*, int, bool);
    void* context_;
    TStatisticsView view_;
};

std::optional<std::string> ChooseFile(HWND owner, bool save, const std::string& suggested)
{
    char path[MAX_PATH] = {};
    suggested.copy(path, MAX_PATH - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    if (save) {
        ofn.lpstrFilter = "CSV files (*.csv)\0*.csv\0";
        ofn.lpstrDefExt = "csv";
        ofn.lpstrTitle = "Export replies";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (!::GetSaveFileNameA(&ofn))
            return std::nullopt;
    } else {
        ofn.lpstrFilter
            = "Reply lists (*.csv;*.ahk;*.yml;*.yaml;*.plist;*.xml)\0*.csv;*.ahk;*.yml;*.yaml;*.plist;*.xml;*."
              "textexpander\0All files (*.*)\0*.*\0";
        ofn.lpstrTitle = "Import replies";
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (!::GetOpenFileNameA(&ofn))
            return std::nullopt;
    }
    return std::string(path);
}

} // namespace

bool ShowImportPreview(HWND owner, const std::string& fileName, const TImportSet& set)
{
    ImportPreview preview(fileName, set);
    return preview.Run(owner, owner, "Import replies - " + fileName, WS_POPUP | WS_CAPTION | WS_SYSMENU, 700, 494)
        == IDOK;
}

std::optional<std::string> ChooseImportFile(HWND owner) { return ChooseFile(owner, false, {}); }
std::optional<std::string> ChooseExportFile(HWND owner, const std::string& suggestedName)
{
    return ChooseFile(owner, true, suggestedName);
}

TStatisticsChoice ShowStatistics(HWND owner, TStatisticsChoice settings,
    TStatisticsView (*rebuild)(void* context, int wordsPerMinute, bool clear), void* context)
{
    StatisticsWindow window(settings, rebuild, context);
    window.Run(owner, owner, "Statistics", WS_POPUP | WS_CAPTION | WS_SYSMENU, 560, 500);
    return window.Choice();
}

} // namespace corvane::win32
