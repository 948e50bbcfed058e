#include "controller/settings_panel.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "controller/register_file_type.h"
#include "controller/file_association.h"
#include "controller/settings_panel_rules.h"
#include "core/app_paths.h"
#include "core/settings_store.h"
#include "core/app_identity.h"
#include "core/text_rules.h"
#include "music/midi_ports.h"
#include "resources/resource.h"

namespace lt {

namespace {

constexpr const char* PanelFontFace = "ＭＳ Ｐ明朝";
constexpr COLORREF CaptionInk = RGB(27, 39, 66);

// Boxes and buttons on the panel: position and size in panel pixels.
struct ControlPlace {
    int Id;
    int X, Y, W, H;
};
constexpr ControlPlace Boxes[] = {
    {IdTeX, 216, 24, 41, 18},     {IdTeY, 288, 24, 41, 18},    {IdTeUp, 264, 80, 41, 18},
    {IdTeLeft, 231, 104, 41, 18}, {IdTeRight, 304, 104, 41, 18}, {IdTeDown, 264, 128, 41, 18},
    {IdTeVoid, 120, 162, 41, 18},
};
constexpr int ComboX = 40, ComboY = 104, ComboW = 145, ComboDropped = 160;
constexpr int SampleW = 41, SampleH = 20, ExtW = 41, ExtH = 17;
constexpr ControlPlace ExitButton{IdComExit, 192, 160, 65, 17};
constexpr ControlPlace CancelButton{IdComCancel, 272, 160, 65, 17};
constexpr ControlPlace UnregisterButton{IdComUnregister, 176, 136, 41, 17};
// Buttons that must wait while OK switches the MIDI port.
constexpr int HeldDuringSwitch[] = {IdComExit,     IdComCancel,   IdComExt,     IdComExt + 1, IdComExt + 2,
                                    IdComExt + 3, IdComExt + 4, IdComExt + 5, IdComUnregister};
// The start-up options take the focus over their image and caption; the
// pointer goes through them to the panel.
constexpr ControlPlace Options[] = {{IdOptShow, 58, 38, 45, 20}, {IdOptHide, 110, 38, 57, 20}};
constexpr const char* OptionClass = "LumatroveStartOption";

// Tab walks the panel's controls in this order: the left column down, the
// right column down, then OK and Cancel. A control left out comes after them.
constexpr int TabOrder[] = {
    IdOptShow,       IdOptHide,       IdComSample,  IdComSample + 1, IdComSample + 2, IdComSample + 3,
    IdComSample + 4, IdComSample + 5, IdCmbMidi,    IdComExt,        IdComExt + 1,    IdComExt + 2,
    IdComExt + 3,    IdComExt + 4,    IdComExt + 5, IdComUnregister, IdTeVoid,        IdTeX,           IdTeY,
    IdTeUp,          IdTeLeft,        IdTeRight,    IdTeDown,        IdComExit,       IdComCancel,
};

HWND MakeChild(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle, const ControlPlace& at)
{
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, at.X, at.Y, at.W, at.H,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(at.Id)), GetModuleHandleA(nullptr),
                           nullptr);
}

std::string ControlText(HWND control)
{
    const int n = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    GetWindowTextA(control, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

void ScreenPixels(int& width, int& height)
{
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
}

} // namespace

bool SettingsPanel::Create(HWND controller, std::function<void()> closed)
{
    closed_ = std::move(closed);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowProcOf<SettingsPanel>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName;
    RegisterClassExA(&wc);
    // A window of its own, not a transparent picture: clicks on the panel
    // stay on it and never reach the controller's buttons and filters below.
    return CreateWindowExA(0, ClassName, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, PanelTop, PanelWidth,
                           PanelHeight, controller, nullptr, instance, this) != nullptr;
}

LRESULT SettingsPanel::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case DM_GETDEFID: {
        // Enter: the focused button, else OK.
        HWND focus = GetFocus();
        const bool button = IsChild(hwnd_, focus) &&
                            (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
        return MAKELRESULT(button ? GetDlgCtrlID(focus) : IdComExit, DC_HASDEFID);
    }
    case WM_NEXTDLGCTL: {
        HWND focus = GetFocus();
        HWND next = LOWORD(lp) ? reinterpret_cast<HWND>(wp)
                               : GetNextDlgTabItem(hwnd_, IsChild(hwnd_, focus) ? focus : nullptr, wp != 0);
        if (next)
            FocusControl(next);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetCapture(hwnd_);
        pressHeld_ = true;
        OnMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        if (GetCapture() == hwnd_) {
            releasing_ = true; // our own letting go: the release still counts
            ReleaseCapture();
            releasing_ = false;
        }
        if (std::exchange(pressHeld_, false))
            OnMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_CAPTURECHANGED:
        // A press that loses the pointer (a message box, Alt+Tab) ends
        // unpressed, and its release chooses nothing.
        if (releasing_)
            return 0;
        pressHeld_ = false;
        if (showPressed_ || hidePressed_) {
            showPressed_ = hidePressed_ = false;
            DrawSettingPanel();
        }
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

bool SettingsPanel::OnCreate()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    back_.reset(LoadImageA(instance, MAKEINTRESOURCEA(IDB_SETTINGS_BACK), IMAGE_BITMAP, 0, 0, 0));
    options_.reset(LoadImageA(instance, MAKEINTRESOURCEA(IDB_SETTINGS_OPTIONS), IMAGE_BITMAP, 0, 0, 0));

    HDC screen = GetDC(nullptr);
    const int points = static_cast<int>(UiFontSize());
    font_.reset(CreateFontA(-MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                            FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            VARIABLE_PITCH | FF_ROMAN, PanelFontFace));
    surfaceDc_.reset(CreateCompatibleDC(screen));
    surface_.reset(CreateCompatibleBitmap(screen, PanelWidth, PanelHeight));
    ReleaseDC(nullptr, screen);
    if (!surfaceDc_ || !surface_)
        return false;
    SelectObject(surfaceDc_.get(), surface_.get());

    for (const ControlPlace& box : Boxes)
        MakeChild(hwnd_, "EDIT", "", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, box);
    MakeChild(hwnd_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 0,
              {IdCmbMidi, ComboX, ComboY, ComboW, ComboDropped});
    for (int i = 0; i < 6; ++i) {
        const PresetButton& b = PresetButtons()[static_cast<std::size_t>(i)];
        MakeChild(hwnd_, "BUTTON", b.Caption, BS_PUSHBUTTON, 0, {IdComSample + i, b.X, b.Y, SampleW, SampleH});
    }
    for (int i = 0; i < FileTypeCount; ++i) {
        const FileType& t = FileTypes()[static_cast<std::size_t>(i)];
        MakeChild(hwnd_, "BUTTON", t.Caption, BS_PUSHBUTTON, 0, {IdComExt + i, t.X, t.Y, ExtW, ExtH});
    }
    MakeChild(hwnd_, "BUTTON", "解除", BS_PUSHBUTTON, 0, UnregisterButton);
    MakeChild(hwnd_, "BUTTON", "OK", BS_PUSHBUTTON, 0, ExitButton);
    MakeChild(hwnd_, "BUTTON", "Cancel", BS_PUSHBUTTON, 0, CancelButton);
    MakeOptions();
    ApplyTabOrder();
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    FillMidiCombo();
    return true;
}

void SettingsPanel::FillMidiCombo()
{
    HWND combo = Control(IdCmbMidi);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const MidiDevice& device : MidiDevices().Records)
        if (device.Usable)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(device.Name.c_str()));
}

void SettingsPanel::MakeOptions()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &SettingsPanel::OptionProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = OptionClass;
    RegisterClassExA(&wc);
    for (const ControlPlace& option : Options)
        MakeChild(hwnd_, OptionClass, "", 0, 0, option);
}

void SettingsPanel::ApplyTabOrder()
{
    // The dialog keys follow the children's order.
    HWND after = HWND_TOP;
    for (int id : TabOrder) {
        if (HWND control = Control(id)) {
            SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = control;
        }
    }
}

HWND SettingsPanel::FirstControl() const
{
    return Control(TabOrder[0]);
}

void SettingsPanel::FocusControl(HWND control)
{
    SetFocus(control);
    if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(control, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK SettingsPanel::OptionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* panel = reinterpret_cast<SettingsPanel*>(GetWindowLongPtrA(GetParent(hwnd), GWLP_USERDATA));
    return panel ? panel->OnOption(hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT SettingsPanel::OnOption(HWND option, UINT msg, WPARAM wp, LPARAM lp)
{
    const bool show = GetDlgCtrlID(option) == IdOptShow;
    bool& pressed = show ? showPressed_ : hidePressed_;
    switch (msg) {
    case WM_NCHITTEST:
        return HTTRANSPARENT; // the panel's own mouse handling sees the pointer
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
    case WM_SETFOCUS:
        InvalidateRect(option, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        // Space held while the focus moves on chooses nothing.
        if (pressed) {
            pressed = false;
            DrawSettingPanel();
        }
        InvalidateRect(option, nullptr, FALSE);
        return 0;
    case WM_KEYDOWN:
        // Space as on a radio button: held shows it pressed, let go chooses.
        if (wp == VK_SPACE && !pressed) {
            pressed = true;
            DrawSettingPanel();
        }
        return 0;
    case WM_KEYUP:
        if (wp == VK_SPACE && pressed)
            ChooseOption(show);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintOption(option);
        return 0;
    default:
        return DefWindowProcA(option, msg, wp, lp);
    }
}

void SettingsPanel::PaintOption(HWND option)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(option, &ps);
    RECT at{};
    GetWindowRect(option, &at);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&at), 2);
    BitBlt(dc, 0, 0, at.right - at.left, at.bottom - at.top, surfaceDc_.get(), at.left, at.top, SRCCOPY);
    if (GetFocus() == option) {
        RECT mark{};
        GetClientRect(option, &mark);
        DrawFocusRect(dc, &mark);
    }
    EndPaint(option, &ps);
}

void SettingsPanel::ChooseOption(bool show)
{
    // As a release on the option: in memory at once, in the file with OK.
    AppSettings().Visible = show ? 1 : 0;
    showPressed_ = hidePressed_ = false;
    DrawSettingPanel();
}

void SettingsPanel::Show()
{
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    // Typing goes on in the panel, unless the controller is not the window
    // the user works in (it may have come up at the edge).
    if (GetForegroundWindow() == GetParent(hwnd_) && !IsChild(hwnd_, GetFocus()))
        FocusControl(FirstControl());
}

void SettingsPanel::Hide()
{
    const bool hadFocus = IsChild(hwnd_, GetFocus());
    ShowWindow(hwnd_, SW_HIDE);
    // Keys typed next belong to the controller, not to a hidden box.
    if (hadFocus && (!GetFocus() || IsChild(hwnd_, GetFocus())))
        SetFocus(GetParent(hwnd_));
}

void SettingsPanel::SetNumber(int id, long value)
{
    SetWindowTextA(Control(id), std::to_string(value).c_str());
}

void SettingsPanel::SetOptionData()
{
    const Settings& s = AppSettings();
    SetNumber(IdTeX, s.XPos);
    SetNumber(IdTeY, s.YPos);
    SetNumber(IdTeUp, s.YStart);
    SetNumber(IdTeDown, s.YEnd);
    SetNumber(IdTeRight, s.XEnd);
    SetNumber(IdTeLeft, s.XStart);
    SetNumber(IdTeVoid, s.ErrorWait);

    HWND combo = Control(IdCmbMidi);
    const auto entries = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(MidiSelection(s.MidiDevice, entries)), 0);

    int width = 0, height = 0;
    ScreenPixels(width, height);
    screenSize_ = ScreenSizeText(width, height);
    DrawSettingPanel();
}

void SettingsPanel::DrawSettingPanel()
{
    HDC dc = surfaceDc_.get();
    if (!dc)
        return;
    MemoryDc scratch(CreateCompatibleDC(dc));
    if (back_) {
        SelectObjectScope select(scratch.get(), back_.get());
        BitBlt(dc, 0, 0, PanelWidth, PanelHeight, scratch.get(), 0, 0, SRCCOPY);
    } else {
        RECT all{0, 0, PanelWidth, PanelHeight};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }

    {
        SelectObjectScope useFont(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, CaptionInk);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        auto print = [dc](int x, int y, const std::string& text) {
            TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        };
        for (const PanelCaption& c : PanelCaptions())
            print(c.X, c.Y, c.Text);
        print(ScreenSizeX, ScreenSizeY, screenSize_);
        print(ControllerSizeX, ControllerSizeY, ControllerSizeText);
    }

    if (options_) {
        const bool show = AppSettings().Visible == 1;
        SelectObjectScope select(scratch.get(), options_.get());
        BitBlt(dc, ShowOptionX, OptionY, OptionImageSize, OptionImageSize, scratch.get(),
               OptionImageSize * OptionImage(show, showPressed_), 0, SRCCOPY);
        BitBlt(dc, HideOptionX, OptionY, OptionImageSize, OptionImageSize, scratch.get(),
               OptionImageSize * OptionImage(!show, hidePressed_), 0, SRCCOPY);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
    for (const ControlPlace& option : Options)
        InvalidateRect(Control(option.Id), nullptr, FALSE);
}

void SettingsPanel::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, surfaceDc_.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    EndPaint(hwnd_, &ps);
}

void SettingsPanel::OnMouseDown(int x, int y)
{
    switch (HitStartOption(x, y)) {
    case StartOption::Show:
        showPressed_ = true;
        break;
    case StartOption::Hide:
        hidePressed_ = true;
        break;
    case StartOption::None:
        return;
    }
    DrawSettingPanel();
}

void SettingsPanel::OnMouseUp(int x, int y)
{
    // Takes effect in memory at once; only OK writes it to the file.
    switch (HitStartOption(x, y)) {
    case StartOption::Show:
        AppSettings().Visible = 1;
        break;
    case StartOption::Hide:
        AppSettings().Visible = 0;
        break;
    case StartOption::None:
        break;
    }
    showPressed_ = hidePressed_ = false;
    DrawSettingPanel();
}

void SettingsPanel::OnCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return;
    // IDOK and IDCANCEL: the dialog keys' Enter and Escape.
    if (id == IDOK)
        id = IdComExit;
    else if (id == IDCANCEL)
        id = IdComCancel;
    if (id >= IdComSample && id < IdComSample + 6)
        ComSample(id - IdComSample + 1);
    else if (id >= IdComExt && id < IdComExt + FileTypeCount)
        ::lt::ComExt(GetParent(hwnd_), id - IdComExt);
    else if (id == IdComUnregister)
        UnregisterFileTypes(GetParent(hwnd_));
    else if (id == IdComExit)
        ComExit();
    else if (id == IdComCancel)
        ComCancel();
}

void SettingsPanel::ComSample(int index)
{
    int width = 0, height = 0;
    ScreenPixels(width, height);
    const PositionPreset p = Preset(index, width, height);
    SetNumber(IdTeX, p.X);
    SetNumber(IdTeY, p.Y);
    SetNumber(IdTeUp, p.Up);
    SetNumber(IdTeDown, p.Down);
    SetNumber(IdTeLeft, p.Left);
    SetNumber(IdTeRight, p.Right);
}

void SettingsPanel::ComExit()
{
    if (switchingPort_)
        return; // a second OK (Enter) while the first one waits
    Settings& s = AppSettings();
    auto number = [this](int id) { return LeadingWhole<std::int32_t>(ControlText(Control(id))); };
    s.XPos = number(IdTeX);
    s.YPos = number(IdTeY);
    s.YStart = number(IdTeUp);
    s.YEnd = number(IdTeDown);
    s.XEnd = number(IdTeRight);
    s.XStart = number(IdTeLeft);
    const auto selected = static_cast<int>(SendMessageA(Control(IdCmbMidi), CB_GETCURSEL, 0, 0));
    s.MidiDevice = static_cast<std::int16_t>(selected < 0 ? -1 : std::min(selected, 32767));
    s.ErrorWait = ClampErrorWait(number(IdTeVoid));

    {
        // The switch lets messages run: nothing on the panel may start it
        // again or close the panel under it until it is over.
        PortSwitchHold hold(*this);
        portSwitch_();
    }
    WriteSystemSettings(Paths().SettingsFile);
    if (!hwnd_)
        return; // the controller closed while the port change let messages run
    SetWindowPos(GetParent(hwnd_), nullptr, s.XPos, s.YPos, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ComCancel();
}

SettingsPanel::PortSwitchHold::PortSwitchHold(SettingsPanel& panel) : panel_(panel)
{
    panel_.switchingPort_ = true;
    EnableHeld(FALSE);
}

SettingsPanel::PortSwitchHold::~PortSwitchHold()
{
    panel_.switchingPort_ = false;
    EnableHeld(TRUE);
}

void SettingsPanel::PortSwitchHold::EnableHeld(BOOL enable)
{
    if (panel_.hwnd_)
        for (int id : HeldDuringSwitch)
            EnableWindow(panel_.Control(id), enable);
}

void SettingsPanel::ComCancel()
{
    Hide();
    if (closed_)
        closed_();
}

} // namespace lt
