#include "controller/settings_panel.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

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

HWND MakeChild(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle, const ControlPlace& at)
{
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, at.X, at.Y, at.W, at.H, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(at.Id)), GetModuleHandleA(nullptr),
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
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetCapture(hwnd_);
        OnMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        OnMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_CAPTURECHANGED:
        // A press that loses the pointer (a message box, say) ends unpressed.
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

void SettingsPanel::Show()
{
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void SettingsPanel::Hide()
{
    // Keys typed next belong to the controller, not to a hidden box.
    if (IsChild(hwnd_, GetFocus()))
        SetFocus(GetParent(hwnd_));
    ShowWindow(hwnd_, SW_HIDE);
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
