#include "controller/main_form.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "controller/appearance_rules.h"
#include "controller/drop_hook.h"
#include "controller/file_list_menu.h"
#include "controller/folder_select.h"
#include "controller/list_display_rules.h"
#include "core/app_paths.h"
#include "core/command_queue.h"
#include "controller/list_file_dialog.h"
#include "core/list_files.h"
#include "core/message_pump.h"
#include "core/settings_store.h"
#include "core/app_identity.h"
#include "movie/view_movie_mdl.h"
#include "music/mp3_library.h"
#include "music/player_window.h"
#include "dialogs/file_dialogs.h"
#include "resources/resource.h"

namespace lt {

namespace {

constexpr UINT_PTR TimFile = 1;
constexpr UINT_PTR TimMouse = 2;
constexpr UINT TimFileMs = 100;
constexpr UINT TimMouseMs = 300;
constexpr int ListBoxId = 100;
// How often a running batch shows its new lines.
constexpr DWORD AppendEveryMs = 100;

// For outside observers (tests, benchmarks): the rebuild counter and the
// held buttons (bit i: button i).
constexpr const char* ListBuildsProp = "LtListBuilds";
constexpr const char* PressedProp = "LtPressed";

constexpr const char* Mp3InitFailed = "Mp3の再生準備に失敗しました";
constexpr const char* ListFontFace = "ＭＳ 明朝";

// List colours, to sit in the skin's dark panel.
constexpr COLORREF ListBack = RGB(16, 24, 40);
constexpr COLORREF ListText = RGB(214, 226, 240);

MainForm* g_controller = nullptr;

bool FilterControllerMessage(MSG& msg)
{
    return g_controller && g_controller->FilterMessage(msg);
}

bool Held(SHORT state)
{
    return (state & 0x8000) != 0;
}

} // namespace

MainForm* Controller()
{
    return g_controller;
}

MainForm::~MainForm()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (g_controller == this)
        g_controller = nullptr;
}

bool MainForm::Create()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    // No CS_DBLCLKS: two quick presses on the skin are two presses.
    wc.lpfnWndProc = &WindowProcOf<MainForm>;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName;
    RegisterClassExA(&wc);

    g_controller = this;
    HWND hwnd = CreateWindowExA(WS_EX_APPWINDOW, ClassName, ControllerTitle,
                                WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, 0, ControllerWidth,
                                ControllerHeight, nullptr, nullptr, instance, this);
    if (!hwnd) {
        g_controller = nullptr;
        return false;
    }
    return true;
}

LRESULT MainForm::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        return OnLoad() ? 0 : -1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnMouseDown(msg, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        OnMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = IsChild(hwnd_, focus) ? focus : nullptr;
        }
        return DefWindowProcA(hwnd_, msg, wp, lp);
    case WM_SETFOCUS:
        FocusInside();
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wp);
        return 0;
    case WM_LT_LISTKEY:
        OnKeyDown(wp);
        return 0;
    case WM_LT_LISTMENU:
        ShowFileListMenu();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == ListBoxId)
            OnListNotify(HIWORD(wp));
        return 0;
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, ListText);
        SetBkColor(dc, ListBack);
        return reinterpret_cast<LRESULT>(listBrush_.get());
    }
    case WM_CLOSE:
        Exit();
        return 0;
    case WM_ENDSESSION:
        if (wp)
            OnUnload(); // the session ends the process without WM_DESTROY
        return 0;
    case WM_DESTROY:
        OnUnload();
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

bool MainForm::OnLoad()
{
    if (!Mp3().Init()) {
        MessageBoxA(nullptr, Mp3InitFailed, AppTitle, MB_OK);
        return false;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    skin_.Load(instance);

    HDC screen = GetDC(nullptr);
    int height = -MulDiv(105, GetDeviceCaps(screen, LOGPIXELSY), 720); // 10.5 points
    ReleaseDC(nullptr, screen);
    listFont_.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, ListFontFace));
    listBrush_.reset(CreateSolidBrush(ListBack));

    list_ = CreateWindowExA(0, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                LBS_NOINTEGRALHEIGHT,
                            ListBoxRect::Left, ListBoxRect::Top, ListBoxRect::Width, ListBoxRect::Height, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ListBoxId)), instance, nullptr);
    if (!list_)
        return false;
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), FALSE);

    if (settingsPanel_.Create(hwnd_, [this] { settingsOpen_ = false; }))
        settings_ = settingsPanel_.Hwnd();

    DragAcceptFiles(list_, TRUE);
    HookWindow(list_);

    FileList().KindFilter = FilterAll;
    SetListDisplay(this);
    SetMessageFilter(&FilterControllerMessage);
    AddTooltips();
    PublishProps();
    SetTimer(hwnd_, TimFile, TimFileMs, nullptr);
    SetTimer(hwnd_, TimMouse, TimMouseMs, nullptr);
    Reflect();
    loaded_ = true;
    return true;
}

void MainForm::OnUnload()
{
    if (!std::exchange(loaded_, false))
        return; // a failed start writes nothing; the end of a session ran it already
    KillTimer(hwnd_, TimFile);
    KillTimer(hwnd_, TimMouse);
    UnhookWindow();
    SetMessageFilter(nullptr);
    SetListDisplay(nullptr);
    Player().Unload();
    CloseMovie();
    sndPlaySoundA(nullptr, 0);
    Mp3().Close();
    Mp3().Free();
    WriteVolume(Paths().SettingsFile);
    RemovePropA(hwnd_, ListBuildsProp);
    RemovePropA(hwnd_, PressedProp);
    // The children go with the window, the tooltips as its owned window;
    // nothing may draw into them now.
    list_ = settings_ = tooltips_ = lastFocus_ = nullptr;
    RequestQuit(0);
}

void MainForm::Exit()
{
    ShowWindow(hwnd_, SW_HIDE);
    DestroyWindow(hwnd_);
}

void MainForm::ShowController()
{
    const Settings& s = AppSettings();
    SetWindowPos(hwnd_, nullptr, s.XPos, s.YPos, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (s.Visible != 1) {
        shown_ = pinned_ = false;
        ShowWindow(hwnd_, SW_HIDE);
    } else {
        shown_ = pinned_ = true;
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        PumpMessages();
    }
    SetTimer(hwnd_, TimMouse, TimMouseMs, nullptr);
    Reflect();
}

void MainForm::LoadSettingForm()
{
    if (!settings_)
        return;
    // Only the settings button keeps the window from hiding; F2 and "/S"
    // show the panel without that.
    settingsPanel_.Show();
    settingsPanel_.SetOptionData();
}

void MainForm::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    skin_.Paint(dc, ps.rcPaint);
    EndPaint(hwnd_, &ps);
}

void MainForm::Reflect()
{
    if (!hwnd_)
        return; // a null window would repaint the whole screen
    skin_.Compose({FileList().KindFilter, pressed_, pinned_});
    InvalidateRect(hwnd_, nullptr, FALSE);
    PublishProps();
}

void MainForm::PublishProps()
{
    INT_PTR pressed = 0;
    for (std::size_t i = 0; i < pressed_.size(); ++i)
        pressed |= pressed_[i] ? INT_PTR{1} << i : 0;
    SetPropA(hwnd_, ListBuildsProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(listBuilds_)));
    SetPropA(hwnd_, PressedProp, reinterpret_cast<HANDLE>(pressed));
}

void MainForm::OnTimer(UINT_PTR id)
{
    if (id == TimFile)
        QueueTick();
    else if (id == TimMouse)
        MouseTick();
}

void MainForm::QueueTick()
{
    // Messages run inside the drain; a tick arriving meanwhile waits its turn.
    if (draining_)
        return;
    draining_ = true;
    std::vector<std::string> paths;
    if (DrainQueue(Paths().QueueFile, paths) == DrainResult::Drained)
        AddQueuedFiles(std::move(paths));
    draining_ = false;
}

void MainForm::MouseTick()
{
    POINT pointer{};
    GetCursorPos(&pointer);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const auto [tppx, tppy] = ScreenTwipsPerPixel();

    const Settings& s = AppSettings();
    AppearanceInput in;
    in.X = pointer.x;
    in.Y = pointer.y;
    // The window's geometry in twips, as the rules measure it.
    in.Left = r.left * tppx;
    in.Top = r.top * tppy;
    in.Width = (r.right - r.left) * tppx;
    in.Height = (r.bottom - r.top) * tppy;
    in.Tppx = tppx;
    in.Tppy = tppy;
    in.Shown = shown_;
    in.Pinned = pinned_;
    in.FolderBusy = folderBusy_;
    in.SettingsOpen = settingsOpen_;
    in.OpenDialogBusy = openDialogBusy_;
    in.LeaveCounter = static_cast<std::int16_t>(leaveCounter_);
    in.Trigger = {s.XStart, s.XEnd, s.YStart, s.YEnd};

    AppearanceResult out = AppearanceTick(in);
    shown_ = out.Shown;
    leaveCounter_ = out.LeaveCounter;
    for (AppearanceAction action : out.Actions) {
        switch (action) {
        case AppearanceAction::HideAndClearPressed:
            ShowWindow(hwnd_, SW_HIDE);
            pressed_ = {};
            Reflect();
            break;
        case AppearanceAction::Show:
            // Coming up at the edge leaves the focus where the user types;
            // a click on the window activates it.
            if (IsWindowVisible(hwnd_)) {
                ShowWindow(hwnd_, SW_SHOWNA);
            } else {
                ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
                SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
            break;
        case AppearanceAction::Refresh:
            Reflect();
            UpdateWindow(hwnd_);
            break;
        }
    }
}

int MainForm::SelectedEntry() const
{
    LRESULT sel = SendMessageA(list_, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR)
        return -1;
    return static_cast<int>(static_cast<std::int16_t>(SendMessageA(list_, LB_GETITEMDATA, sel, 0)));
}

void MainForm::MakeList(std::string_view select)
{
    // While a batch runs, its files are appended as they come, so that every
    // line the user acts on names its entry; the batch rebuilds once at its end.
    if (FileList().BatchMode)
        AppendNewLines();
    else
        Rebuild(select);
}

void MainForm::AppendNewLines()
{
    const FileTable& table = FileList().Table;
    if (!list_)
        return;
    // Entries went away under the lines (a picture window closed, say):
    // the lines no longer match, so start over.
    if (table.Removals() != shownRemovals_) {
        Rebuild("");
        return;
    }
    // A few times a second is enough for the eye; lines not yet shown are
    // at the end, so every line shown still names its entry.
    const DWORD now = GetTickCount();
    if (now - lastAppend_ < AppendEveryMs)
        return;
    lastAppend_ = now;
    ListDisplay more = BuildListDisplay(table, FileList().KindFilter, "", shownThrough_ + 1);
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    AddLines(more.Lines);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    NoteShown();
}

void MainForm::AddLines(const std::vector<ListLine>& lines)
{
    for (const ListLine& line : lines) {
        LRESULT at = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Text.c_str()));
        if (at >= 0)
            SendMessageA(list_, LB_SETITEMDATA, at, line.EntryIndex);
    }
}

void MainForm::NoteShown()
{
    const FileTable& table = FileList().Table;
    shownThrough_ = table.Count();
    shownRemovals_ = table.Removals();
}

void MainForm::Rebuild(std::string_view select)
{
    FileListState& list = FileList();
    if (!list_)
        return;
    std::string chosenPath(select);
    if (chosenPath.empty()) {
        int index = SelectedEntry();
        if (index > 0)
            chosenPath = list.Table.At(index).Path;
    }
    ListDisplay display = BuildListDisplay(list.Table, list.KindFilter, chosenPath);

    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (const ListLine& line : display.Lines)
        bytes += line.Text.size() + 1;
    SendMessageA(list_, LB_INITSTORAGE, display.Lines.size(), bytes);
    AddLines(display.Lines);
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    if (!chosenPath.empty() && display.Chosen >= 0)
        SendMessageA(list_, LB_SETCURSEL, display.Chosen, 0);
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, HorizontalExtent(display.Widest), 0);
    InvalidateRect(list_, nullptr, TRUE);
    NoteShown();

    ++listBuilds_;
    PublishProps();
}

void MainForm::OnMouseDown(UINT button, int x, int y)
{
    if (button == WM_RBUTTONDOWN) {
        ShowFileListMenu();
        if (!hwnd_)
            return; // Exit was chosen
        pressed_ = {};
        Reflect();
        return;
    }
    SetCapture(hwnd_);
    PressButton(x, y);
}

void MainForm::OnMouseUp(int x, int y)
{
    if (GetCapture() == hwnd_) {
        // Our own letting go is no loss: the release below still counts.
        releasing_ = true;
        ReleaseCapture();
        releasing_ = false;
    }
    ReleaseButton(x, y);
}

void MainForm::OnCaptureLost()
{
    // Another window took the mouse (a box, Alt+Tab): the held button is
    // let go without its action, whatever the release does later.
    if (releasing_ || pressed_ == PressedFlags{})
        return;
    pressed_ = {};
    Reflect();
}

void MainForm::PressButton(int x, int y)
{
    PressHit hit = HitPress(x, y);
    switch (hit.What) {
    case PressHit::Target::Filter:
        SetFilter(hit.Filter);
        break;
    case PressHit::Target::Button:
        pressed_[static_cast<std::size_t>(hit.Button)] = true;
        break;
    case PressHit::Target::Pin:
        TogglePin();
        break;
    }
    Reflect();
}

void MainForm::ReleaseButton(int x, int y)
{
    int button = HitRelease(x, y, pressed_);
    if (button >= 0)
        RunButton(button);
    if (!hwnd_)
        return; // the quit button ended the window
    pressed_ = {};
    Reflect();
}

void MainForm::RunButton(int button)
{
    switch (static_cast<ButtonId>(button)) {
    case ButtonId::Open:
        pressed_[0] = false;
        Reflect();
        ComLoad();
        break;
    case ButtonId::Folder:
        folderBusy_ = true;
        SelectFolder();
        folderBusy_ = false;
        break;
    case ButtonId::Close:
        RemoveSelectedEntry();
        break;
    case ButtonId::Clear:
        ClearList();
        break;
    case ButtonId::Option:
        ToggleSettingsPanel();
        break;
    case ButtonId::Quit:
        Exit();
        break;
    }
}

void MainForm::RemoveSelectedEntry()
{
    if (SendMessageA(list_, LB_GETCURSEL, 0, 0) == LB_ERR)
        return;
    int index = SelectedEntry();
    if (index >= 0)
        RemoveEntry(index);
    Rebuild("");
}

void MainForm::ClearList()
{
    ClearEntries();
    Rebuild("");
}

void MainForm::ToggleSettingsPanel()
{
    if (!settings_)
        return;
    bool show = !IsWindowVisible(settings_);
    if (show)
        settingsPanel_.Show();
    else
        settingsPanel_.Hide();
    settingsOpen_ = show;
    if (show)
        settingsPanel_.SetOptionData();
}

void MainForm::SetFilter(std::int16_t filter)
{
    FileList().KindFilter = filter;
    Rebuild("");
}

void MainForm::TogglePin()
{
    pinned_ = !pinned_;
    Reflect();
}

void MainForm::OnKeyDown(WPARAM key)
{
    if (key == VK_F2)
        RunCommand(ControllerCommand::ShowSettings);
    else if (key == VK_F3)
        RunCommand(ControllerCommand::HideSettings);
}

bool MainForm::FilterMessage(MSG& msg)
{
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)))
        return false;
    const bool inPanel = settings_ && (msg.hwnd == settings_ || IsChild(settings_, msg.hwnd));
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        KeyPress key;
        key.Vk = static_cast<unsigned>(msg.wParam);
        key.Ctrl = Held(GetKeyState(VK_CONTROL));
        key.Shift = Held(GetKeyState(VK_SHIFT));
        key.Alt = (msg.lParam & (LPARAM{1} << 29)) != 0;
        const ControllerCommand command = CommandForKey(key, inPanel ? KeyPlace::Panel : KeyPlace::List);
        if (command != ControllerCommand::None) {
            RunCommand(command);
            return true;
        }
    }
    return inPanel && IsWindowVisible(settings_) && IsDialogMessageA(settings_, &msg);
}

void MainForm::RunCommand(ControllerCommand command)
{
    switch (command) {
    case ControllerCommand::Activate:
        ActivateSelected();
        break;
    case ControllerCommand::Remove:
        RemoveSelectedEntry();
        break;
    case ControllerCommand::Open:
        ComLoad();
        break;
    case ControllerCommand::Folder:
        RunButton(static_cast<int>(ButtonId::Folder));
        break;
    case ControllerCommand::Clear:
        ClearList();
        break;
    case ControllerCommand::ShowSettings:
        LoadSettingForm();
        break;
    case ControllerCommand::HideSettings:
        if (settings_)
            settingsPanel_.Hide();
        break;
    case ControllerCommand::FilterAll:
    case ControllerCommand::FilterPicture:
    case ControllerCommand::FilterMidi:
    case ControllerCommand::FilterWave:
    case ControllerCommand::FilterMovie: {
        constexpr std::int16_t filters[] = {
            FilterAll, static_cast<std::int16_t>(FileKind::Picture), static_cast<std::int16_t>(FileKind::Midi),
            static_cast<std::int16_t>(FileKind::Wave), static_cast<std::int16_t>(FileKind::Movie)};
        SetFilter(filters[static_cast<int>(command) - static_cast<int>(ControllerCommand::FilterAll)]);
        Reflect();
        break;
    }
    case ControllerCommand::Pin:
        TogglePin();
        break;
    case ControllerCommand::Quit:
        Exit();
        break;
    case ControllerCommand::None:
        break;
    }
}

void MainForm::FocusInside()
{
    // Back to where the user left it, else the panel's first control while
    // the panel covers the list, else the list.
    const bool panel = settings_ && IsWindowVisible(settings_);
    HWND want = lastFocus_;
    if (want && (!IsChild(hwnd_, want) || !IsWindowVisible(want) || !IsWindowEnabled(want) ||
                 panel != (settings_ && IsChild(settings_, want))))
        want = nullptr;
    if (!want)
        want = panel ? settingsPanel_.FirstControl() : list_;
    if (want)
        SetFocus(want);
}

void MainForm::OnListNotify(int code)
{
    if (code == LBN_DBLCLK)
        ActivateSelected();
}

void MainForm::ActivateSelected()
{
    if (SendMessageA(list_, LB_GETCURSEL, 0, 0) == LB_ERR)
        return;
    AcxtiveFile(SelectedEntry());
}

void MainForm::OnContextMenu(HWND from, int x, int y)
{
    // A right press has shown the menu already; this is the menu key or
    // Shift+F10, on the list or the window's own surface.
    if (x != -1 || y != -1 || (from != hwnd_ && from != list_))
        return;
    const POINT at = KeyboardMenuPoint();
    ShowFileListMenu(&at);
    if (!hwnd_)
        return; // Exit was chosen
    pressed_ = {};
    Reflect();
}

POINT MainForm::KeyboardMenuPoint() const
{
    // Under the selected line while it shows, else at the window's corner.
    const LRESULT sel = SendMessageA(list_, LB_GETCURSEL, 0, 0);
    RECT line{}, client{};
    GetClientRect(list_, &client);
    if (sel != LB_ERR && !(settings_ && IsWindowVisible(settings_)) &&
        SendMessageA(list_, LB_GETITEMRECT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&line)) != LB_ERR &&
        line.bottom > client.top && line.top < client.bottom) {
        POINT at{client.left, line.bottom < client.bottom ? line.bottom : client.bottom};
        ClientToScreen(list_, &at);
        return at;
    }
    POINT corner{0, 0};
    ClientToScreen(hwnd_, &corner);
    return corner;
}

void MainForm::AddTooltips()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // Always: the window comes up at the edge without being activated.
    tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!tooltips_)
        return;
    UINT id = 1;
    for (const SkinTip& tip : SkinTips()) {
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.uFlags = TTF_SUBCLASS;
        ti.hwnd = hwnd_;
        ti.uId = id++;
        ti.rect = {tip.Left, tip.Top, tip.Right + 1, tip.Bottom + 1};
        ti.lpszText = const_cast<char*>(tip.Text);
        SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void MainForm::ComLoad()
{
    openDialogBusy_ = true;
    if (AskOpenFile(hwnd_, FileList().CurrentFile, OpenFilter())) {
        LoadFile();
        Reflect();
    }
    openDialogBusy_ = false;
}

void MainForm::SelectFolder()
{
    std::string folder = BrowseForFolder(hwnd_);
    if (!folder.empty() && !Quitting())
        AddFolderFiles(folder);
}

void MainForm::ShowFileListMenu(const POINT* at)
{
    switch (PopFileListMenu(hwnd_, at)) {
    case FileListCommand::Open:
        ComLoad();
        break;
    case FileListCommand::Folder:
        SelectFolder();
        break;
    case FileListCommand::Close:
        RemoveSelectedEntry();
        break;
    case FileListCommand::Clear:
        ClearList();
        break;
    case FileListCommand::List:
        SaveListFile(hwnd_);
        break;
    case FileListCommand::Exit:
        Exit();
        break;
    case FileListCommand::None:
        break;
    }
}

} // namespace lt
