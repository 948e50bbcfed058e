#include "music/tag_editor.h"

#include <windows.h>

#include <string>

#include "core/app_identity.h"
#include "core/win_handles.h"
#include "core/window_proc.h"
#include "dialogs/text_draw.h"
#include "music/mp3_library.h"
#include "music/music_engine.h"
#include "music/tag_rules.h"

namespace lt {

namespace {

constexpr const char* ClassName = "LumatroveTagEditor";
constexpr const char* Caption = "Sonarelle TagEditer";
constexpr const char* FontFace = "ＭＳ Ｐゴシック";
constexpr double FontPoints = 9.75;
constexpr int InfoCentre = 353;

enum ControlId : int {
    IdTitle = 1,
    IdArtist,
    IdAlbum,
    IdYear,
    IdComment,
    IdCancel,
    IdSet,
    IdCopy = 101,
    IdPaste,
    IdClear,
};

struct Control {
    const char* Class;
    const char* Text;
    int Id;
    int X, Y, W, H;
    DWORD Style;
    int Limit; // text boxes: most characters, 0 for no limit
};

constexpr DWORD Edit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD Label = WS_CHILD | WS_VISIBLE;
constexpr DWORD Button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// In tab order.
constexpr Control Controls[] = {
    {"EDIT", "", IdTitle, 64, 32, 209, 19, Edit, 0},
    {"EDIT", "", IdArtist, 64, 56, 209, 19, Edit, 0},
    {"EDIT", "", IdAlbum, 64, 80, 209, 19, Edit, 0},
    {"STATIC", "", 0, 32, 8, 241, 17, Label | SS_GRAYRECT, 0},
    {"STATIC", "曲名", 0, 8, 32, 47, 12, Label, 0},
    {"STATIC", "ｱｰﾃｨｽﾄ", 0, 8, 56, 47, 12, Label, 0},
    {"STATIC", "アルバム", 0, 8, 80, 47, 12, Label, 0},
    {"STATIC", "ﾘﾘｰｽ年号", 0, 5, 104, 53, 12, Label, 0},
    {"STATIC", "コメント", 0, 8, 128, 47, 12, Label, 0},
    {"EDIT", "", IdYear, 64, 104, 57, 19, Edit, 5},
    {"EDIT", "", IdComment, 64, 128, 209, 19, Edit, 128},
    {"BUTTON", "設定", IdSet, 208, 152, 65, 22, Button | BS_DEFPUSHBUTTON, 0},
    {"BUTTON", "ｷｬﾝｾﾙ", IdCancel, 136, 152, 65, 22, Button, 0},
};

class TagEditor {
public:
    void Show();

private:
    friend LRESULT CALLBACK WindowProcOf<TagEditor>(HWND, UINT, WPARAM, LPARAM);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    bool Create();
    void OnCreate();
    void OnPaint();
    // Prints the stream information on dc and reloads the fields; false
    // when the open piece is not one the editor works on.
    bool Reflect(HDC dc);
    // Hides and unloads the window, after the "Error" box when asked.
    void Close(bool error);
    void ComSet();
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const;

    HWND hwnd_ = nullptr;
    bool closing_ = false;
    GdiObject font_;
    Ltmp3TagInfo tag_{};
};

TagEditor g_editor;

bool TagEditor::Create()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WindowProcOf<TagEditor>;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = ClassName;
        registered = RegisterClassExA(&wc) != 0;
    }
    HMENU bar = CreateMenu();
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, IdCopy, "ｺﾋﾟｰ(&C)");
    AppendMenuA(edit, MF_STRING, IdPaste, "ﾍﾟｰｽﾄ(&V)");
    AppendMenuA(edit, MF_STRING, IdClear, "ｸﾘｱ(&A)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "編集(&E)");
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, 428, 178};
    AdjustWindowRectEx(&outer, style, TRUE, 0);
    CreateWindowExA(0, ClassName, Caption, style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                    outer.bottom - outer.top, nullptr, bar, instance, this);
    return hwnd_ != nullptr;
}

LRESULT TagEditor::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IdSet:
            ComSet();
            return 0;
        case IdCancel:
            Close(false);
            return 0;
        case IdCopy:
            SendMessageA(GetFocus(), WM_COPY, 0, 0);
            return 0;
        case IdPaste:
            SendMessageA(GetFocus(), WM_PASTE, 0, 0);
            return 0;
        case IdClear:
            SendMessageA(GetFocus(), WM_CLEAR, 0, 0);
            return 0;
        }
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

void TagEditor::OnCreate()
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(975, GetDeviceCaps(screen, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, screen);
    font_.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, FontFace));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const Control& c : Controls) {
        const DWORD ex = std::string_view(c.Class) == "EDIT" ? WS_EX_CLIENTEDGE : 0;
        HWND child = CreateWindowExA(ex, c.Class, c.Text, c.Style, c.X, c.Y, c.W, c.H, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)), instance, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (c.Limit > 0)
            SendMessageA(child, EM_LIMITTEXT, c.Limit, 0);
    }
}

void TagEditor::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const bool mine = Reflect(dc);
    // An etched rule along the top edge, over whatever Reflect cleared.
    HPEN dark = CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80));
    HPEN light = CreatePen(PS_SOLID, 1, RGB(0xE0, 0xE0, 0xE0));
    HGDIOBJ old = SelectObject(dc, dark);
    MoveToEx(dc, 2, 0, nullptr);
    LineTo(dc, 424, 0);
    SelectObject(dc, light);
    MoveToEx(dc, 2, 1, nullptr);
    LineTo(dc, 424, 1);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
    // Painted first: the box lets messages run, and a window still waiting
    // for its paint would come here again.
    EndPaint(hwnd_, &ps);
    if (!mine)
        Close(true);
}

bool TagEditor::Reflect(HDC dc)
{
    PlaybackEngine& engine = MusicEngine();
    if (closing_ || !engine.IsOpen() || engine.CurrentBackEnd() == BackEnd::None)
        return true;
    if (engine.CurrentBackEnd() != BackEnd::Mp3)
        return false;
    Ltmp3MpegInfo info{};
    if (Mp3().GetMpegInfo(info) == 1) {
        RECT all{};
        GetClientRect(hwnd_, &all);
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        TextSurface surface(dc);
        SetTextFont(surface, FontFace, FontPoints, false, false, true, RGB(0, 0, 0));
        SetDcText(dc, RGB(0, 0, 0), true);
        for (const InfoLine& line : MpegInfoLines(info))
            PrintCentered(surface, InfoCentre, line.Y, true, false, line.Text);
    }
    // Every repaint brings back the stored tag, over anything typed.
    if (Mp3().GetTagInfo(tag_) == 1) {
        SetText(IdTitle, FieldText(tag_.Title));
        SetText(IdArtist, FieldText(tag_.Artist));
        SetText(IdAlbum, FieldText(tag_.Album));
        SetText(IdYear, FieldText(tag_.Year));
        SetText(IdComment, FieldText(tag_.Comment));
    }
    return true;
}

void TagEditor::Close(bool error)
{
    if (closing_)
        return;
    closing_ = true;
    if (error)
        MessageBoxA(hwnd_, "Error", AppTitle, MB_OK);
    if (hwnd_) {
        ShowWindow(hwnd_, SW_HIDE);
        DestroyWindow(hwnd_);
    }
    closing_ = false;
}

void TagEditor::ComSet()
{
    FillTag(tag_, Text(IdTitle), Text(IdArtist), Text(IdAlbum), Text(IdYear), Text(IdComment));
    Mp3().SetTagInfo(tag_);
    Close(false);
}

std::string TagEditor::Text(int id) const
{
    HWND child = GetDlgItem(hwnd_, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(child)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(child, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TagEditor::SetText(int id, const std::string& text) const
{
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

void TagEditor::Show()
{
    if (!hwnd_ && !Create())
        return;
    HDC dc = GetDC(hwnd_);
    const bool mine = Reflect(dc);
    ReleaseDC(hwnd_, dc);
    if (!mine) {
        Close(true);
        return;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

} // namespace

void ShowTagEditor()
{
    g_editor.Show();
}

} // namespace lt
