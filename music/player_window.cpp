#include "music/player_window.h"

#include <windowsx.h>

#include <algorithm>
#include <ctime>

#include "core/file_list.h"
#include "core/message_pump.h"
#include "core/settings_store.h"
#include "core/app_identity.h"
#include "music/music_engine.h"
#include "music/player_menu.h"
#include "music/tag_editor.h"
#include "resources/resource.h"

namespace lt {

namespace {

constexpr UINT_PTR TimMusic = 1;
constexpr UINT TimMusicPeriod = 500;
constexpr int SkinWidth = 307, SkinHeight = 123;
// 4576 x 1840 twips.
constexpr int WindowWidthTwips = 4576, WindowHeightTwips = 1840;
// Visible, clip siblings, clip children, system menu: no caption, no border.
constexpr LONG PlayerStyle = 0x16080000;
// The first play after an open may fail while a device is still letting go
// of the previous piece; after this many tries the player stays stopped.
constexpr int PlayAttempts = 20;

const char* const OpenFailed = "ﾌｧｲﾙが読み込めませんでした";
const char* const TimeFace = "ＭＳ ゴシック";

BackEnd BackEndFor(FileKind kind)
{
    switch (kind) {
    case FileKind::Wave:
        return BackEnd::Wave;
    case FileKind::Midi:
        return BackEnd::Midi;
    case FileKind::Mp3:
        return BackEnd::Mp3;
    default:
        return BackEnd::None;
    }
}

int SecondOfMinute()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wSecond;
}

} // namespace

MusicPlayer& Player()
{
    static MusicPlayer player;
    return player;
}

MusicPlayer::~MusicPlayer()
{
    // At the end of the run the engine and the MP3 library may already be
    // gone: the window goes without its unload handling.
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool MusicPlayer::EnsureWindow()
{
    if (hwnd_)
        return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &WindowProcOf<MusicPlayer>;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MUSIC));
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = ClassName;
        registered = RegisterClassExA(&wc) != 0;
    }
    const TwipsPerPixel tpp = ScreenTwipsPerPixel();
    const int width = static_cast<int>(WindowWidthTwips / tpp.X + 0.5);
    const int height = static_cast<int>(WindowHeightTwips / tpp.Y + 0.5);
    CreateWindowExA(WS_EX_APPWINDOW, ClassName, "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT MusicPlayer::WndProc(UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT result = Handle(msg, wp, lp);
    if (hwnd_ && msg != WM_DESTROY && msg != WM_NCDESTROY)
        Publish();
    return result;
}

LRESULT MusicPlayer::Handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        return OnLoad() ? 0 : -1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        BitBlt(dc, 0, 0, SkinWidth, SkinHeight, frame_.Dc(), 0, 0, SRCCOPY);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED) {
            SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
            DrawPlayer();
        }
        return 0;
    case WM_TIMER:
        if (wp == TimMusic)
            OnTimer();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnMouseDown(msg, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
        OnMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        return 0;
    case WM_KEYDOWN:
        OnKey(static_cast<UINT>(wp), (lp & (1 << 30)) != 0);
        return 0;
    case WM_CHAR:
        OnChar(static_cast<char>(wp));
        return 0;
    case WM_CONTEXTMENU:
        // The keyboard's menu key and Shift+F10 (-1, -1): at the window's
        // corner. A right press has already shown it at the pointer.
        if (lp == -1) {
            POINT corner{0, 0};
            ClientToScreen(hwnd_, &corner);
            RunMenu(&corner);
        }
        return 0;
    case WM_CLOSE:
        ComExit();
        return 0;
    case WM_DESTROY:
        OnUnload();
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

bool MusicPlayer::OnLoad()
{
    skin_.Load(GetModuleHandleA(nullptr));
    frame_.Take(MakeScreenBitmap(SkinWidth, SkinHeight));
    back_.Take(MakeScreenBitmap(SkinWidth, SkinHeight));
    tim_.Take(MakeScreenBitmap(skin_.Tim.Width(), skin_.Tim.Height()));
    if (!frame_.Dc() || !back_.Dc() || !tim_.Dc())
        return false;
    formatText_ = std::make_unique<TextSurface>(frame_.Dc());
    timeText_ = std::make_unique<TextSurface>(frame_.Dc());
    backText_ = std::make_unique<TextSurface>(back_.Dc());
    timText_ = std::make_unique<TextSurface>(tim_.Dc());
    BitBlt(frame_.Dc(), 0, 0, SkinWidth, SkinHeight, skin_.Background.Dc(), 0, 0, SRCCOPY);
    formatText_->SetFontSize(9);
    timeText_->SetFontName(TimeFace);
    timeText_->SetFontSize(10);
    timText_->SetFontName(TimeFace);
    // Small enough that minutes, the full-width colon and seconds fit the
    // 32-pixel tip.
    timText_->SetFontSize(7);
    SetDcText(back_.Dc(), 0, true);

    tempoX_ = seekX_ = kThumbLeft;
    attenuation_ = kMaxAttenuation - AppSettings().Volume;
    PlaceKnob();
    MusicEngine().SetMusicVolume(kMaxAttenuation - attenuation_);
    FileList().PlayerShown = true;
    SetWindowLongA(hwnd_, GWL_STYLE, PlayerStyle);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return true;
}

void MusicPlayer::OnUnload()
{
    KillTimer(hwnd_, TimMusic);
    timerOn_ = false;
    FileList().PlayerShown = false;
    MusicEngine().CloseMusic();
    for (const char* name : StateProps)
        RemovePropA(hwnd_, name);
    published_ = {};
    drawnPosition_ = 0;
    formatText_.reset();
    timeText_.reset();
    backText_.reset();
    timText_.reset();
}

void MusicPlayer::Unload()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool MusicPlayer::IsMidi()
{
    return MusicEngine().CurrentBackEnd() == BackEnd::Midi;
}

void MusicPlayer::OpenMusicFile(const std::string& path, FileKind kind)
{
    PlaybackEngine& engine = MusicEngine();
    const unsigned serial = ++openSerial_;
    if (!EnsureWindow())
        return;
    if (!IsWindowVisible(hwnd_)) {
        FileList().PlayerShown = true;
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    if (engine.IsOpen()) {
        engine.CloseMusic();
        for (int i = 0; i < 3; ++i)
            PumpMessages();
    }
    PumpMessages();
    const auto overtaken = [&] { return serial != openSerial_ || !hwnd_ || Quitting(); };
    if (overtaken())
        return; // a newer open took over while messages ran
    const BackEnd backEnd = BackEndFor(kind);
    const bool backEndChanged = engine.CurrentBackEnd() != BackEnd::None && engine.CurrentBackEnd() != backEnd;
    PlaybackEngine::OpenResult result{};
    const bool opened = engine.Open(backEnd, path, &result);
    if (overtaken())
        return; // the state is the newer open's
    if (!opened) {
        // The device's own text has been shown already: one box per fault.
        if (result == PlaybackEngine::OpenResult::Failed)
            MessageBoxA(hwnd_, OpenFailed, AppTitle, MB_OK);
        if (!overtaken()) {
            ShowWindow(hwnd_, SW_HIDE);
            DestroyWindow(hwnd_);
        }
        return;
    }
    length_ = engine.GetMusicLength();
    title_ = PlayerTitle(engine.GetMusicTitle(path), path);
    SetWindowTextA(hwnd_, path.c_str());

    shownPosition_ = 0;
    shownLength_ = length_;
    PlaceSeekThumb();
    backText_->SetFontSize(AppSettings().FontSize);
    titleScrolls_ = TitleScrolls(backText_->TextWidth(title_));
    tempo_ = engine.FileTempo();
    PlaceTempoThumb();
    resetTempo_ = tempo_;
    marquee_ = Marquee{};
    periodWidth_ = -1;
    waveEnd_ = WaveEndCounter{};

    engine.SetUserStopped(true);
    engine.SeekMusic("Start");
    DrawPlayer();
    if (backEndChanged) {
        engine.SetMusicVolume(kMaxAttenuation - attenuation_);
        for (std::int32_t i = 0; i < AppSettings().ErrorWait; ++i)
            PumpMessages();
    }
    for (int attempt = 0; attempt < PlayAttempts; ++attempt) {
        PumpMessages();
        // The user may have closed the player or opened another piece meanwhile.
        if (overtaken() || !engine.IsOpen())
            return;
        if (engine.PlayMusic() || engine.GetMusicState() == 1)
            break;
        Sleep(50);
    }
    if (!overtaken())
        Publish(); // the open ran on another window's message
}

void MusicPlayer::Publish()
{
    const PlaybackEngine& engine = MusicEngine();
    const long values[std::size(StateProps)] = {
        engine.KnownState() + 1, drawnPosition_, kMaxAttenuation - attenuation_, tempo_, long(engine.CurrentBackEnd()),
        marquee_.Offset(),       framesDrawn_};
    // Each property is a trip to the window server: only changes go.
    for (std::size_t i = 0; i < std::size(StateProps); ++i) {
        if (published_[i] == values[i])
            continue;
        published_[i] = values[i];
        SetPropA(hwnd_, StateProps[i], reinterpret_cast<HANDLE>(static_cast<INT_PTR>(values[i])));
    }
}

void MusicPlayer::ComMin()
{
    if (!hwnd_)
        return;
    DrawPlayer();
    CloseWindow(hwnd_);
}

void MusicPlayer::ComExit()
{
    ++openSerial_;
    MusicEngine().CloseMusic();
    FileList().PlayerShown = false;
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
}

void MusicPlayer::SetMusicTimer(bool on)
{
    if (!EnsureWindow())
        return;
    if (on == timerOn_)
        return;
    timerOn_ = on;
    if (on)
        SetTimer(hwnd_, TimMusic, TimMusicPeriod, nullptr);
    else
        KillTimer(hwnd_, TimMusic);
}

int MusicPlayer::NextMusicEntry()
{
    return FindNextOfKind(FileList().PlayingEntry, FileKind::Midi, FileKind::Mp3, FileKind::None, true);
}

void MusicPlayer::ActivateEntry(int index)
{
    AcxtiveFile(index);
}

void MusicPlayer::OnTimer()
{
    PlaybackEngine& engine = MusicEngine();
    if (!engine.IsOpen())
        return;
    if (!seekDrag_) {
        shownPosition_ = engine.GetMusicPosition();
        PlaceSeekThumb();
    }
    if (IsMidi() && !tempoDrag_) {
        tempo_ = ClampTempo(engine.GetMidiTempo());
        PlaceTempoThumb();
        if (tempo_ != engine.LastTempoSent())
            resetTempo_ = tempo_;
    }
    DrawPlayer();
    engine.CheckEndOfTrack(waveEnd_, SecondOfMinute());
}

void MusicPlayer::OnMouseDown(UINT msg, int x, int y)
{
    if (msg == WM_RBUTTONDOWN) {
        RunMenu();
        return;
    }
    PlaybackEngine& engine = MusicEngine();
    const PlayerRegion region = HitTest(x, y, IsMidi(), HitPhase::Press);
    switch (region) {
    case PlayerRegion::SeekBar:
        seekDrag_ = true;
        shownPosition_ = SeekPositionAt(x, shownLength_);
        PlaceSeekThumb();
        break;
    case PlayerRegion::TempoBar:
        tempoAtPress_ = tempo_;
        tempoDrag_ = true;
        tempo_ = TempoAt(x);
        PlaceTempoThumb();
        engine.SetMidiTempo(static_cast<std::int16_t>(tempo_));
        break;
    case PlayerRegion::VolumeBar:
        attenuationAtPress_ = attenuation_;
        volumeDrag_ = true;
        attenuation_ = AttenuationAt(y, HitPhase::Press);
        PlaceKnob();
        break;
    case PlayerRegion::None:
        if (msg == WM_LBUTTONDOWN) {
            // Anywhere else the window moves with the pointer.
            ReleaseCapture();
            SendMessageA(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        return;
    default:
        pressed_[static_cast<std::size_t>(region)] = true;
        break;
    }
    // Moves and the release come here even off the window.
    SetCapture(hwnd_);
    DrawPlayer();
}

void MusicPlayer::OnMouseMove(int x, int y)
{
    PlaybackEngine& engine = MusicEngine();
    if (seekDrag_) {
        shownPosition_ = InRegion(PlayerRegion::SeekBar, x, y, HitPhase::Drag) ? SeekPositionAt(x, shownLength_)
                                                                              : engine.GetMusicPosition();
        PlaceSeekThumb();
        DrawPlayer();
    } else if (tempoDrag_) {
        if (InRegion(PlayerRegion::TempoBar, x, y, HitPhase::Drag)) {
            tempo_ = TempoAt(x);
            engine.ChangeMidiTempo(static_cast<std::int16_t>(tempo_));
        } else {
            tempo_ = tempoAtPress_;
        }
        PlaceTempoThumb();
        DrawPlayer();
    } else if (volumeDrag_) {
        attenuation_ = InRegion(PlayerRegion::VolumeBar, x, y, HitPhase::Drag) ? AttenuationAt(y, HitPhase::Drag)
                                                                              : attenuationAtPress_;
        PlaceKnob();
        SetVolumeFromKnob();
        DrawPlayer();
    }
}

void MusicPlayer::SetVolumeFromKnob()
{
    MusicEngine().SetMusicVolume(kMaxAttenuation - attenuation_);
}

void MusicPlayer::OnMouseUp(int x, int y)
{
    if (GetCapture() == hwnd_) {
        releasing_ = true;
        ReleaseCapture();
        releasing_ = false;
    }
    PlaybackEngine& engine = MusicEngine();
    static constexpr PlayerRegion Buttons[] = {
        PlayerRegion::Minimise, PlayerRegion::Close,  PlayerRegion::Play,       PlayerRegion::Stop,
        PlayerRegion::Pause,    PlayerRegion::Rewind, PlayerRegion::Next,       PlayerRegion::TempoReset,
        PlayerRegion::TempoUp,  PlayerRegion::TempoDown,
    };
    for (PlayerRegion button : Buttons) {
        if (!Pressed(button))
            continue;
        pressed_[static_cast<std::size_t>(button)] = false;
        if (InRegion(button, x, y, HitPhase::Drag)) {
            Release(button);
            if (!hwnd_ || !IsWindowVisible(hwnd_))
                return; // closed, or another piece took over the window
        }
    }
    if (seekDrag_) {
        seekDrag_ = false;
        if (InRegion(PlayerRegion::SeekBar, x, y, HitPhase::Drag)) {
            shownPosition_ = SeekPositionAt(x, shownLength_);
            PlaceSeekThumb();
            engine.SeekMusic(std::to_string(shownPosition_));
        }
    }
    if (tempoDrag_) {
        tempoDrag_ = false;
        if (InRegion(PlayerRegion::TempoBar, x, y, HitPhase::Drag)) {
            tempo_ = TempoAt(x);
            PlaceTempoThumb();
            engine.ChangeMidiTempo(static_cast<std::int16_t>(tempo_));
        }
    }
    if (volumeDrag_) {
        volumeDrag_ = false;
        if (InRegion(PlayerRegion::VolumeBar, x, y, HitPhase::Drag)) {
            attenuation_ = AttenuationAt(y, HitPhase::Drag);
            PlaceKnob();
            SetVolumeFromKnob();
        }
    }
    pressed_ = {};
    if (hwnd_)
        DrawPlayer();
}

void MusicPlayer::Release(PlayerRegion region)
{
    PlaybackEngine& engine = MusicEngine();
    switch (region) {
    case PlayerRegion::Minimise:
        ComMin();
        break;
    case PlayerRegion::Close:
        ComExit();
        break;
    case PlayerRegion::Play:
        engine.PlayMusic();
        waveEnd_ = WaveEndCounter{};
        break;
    case PlayerRegion::Stop:
        engine.StopMusic();
        break;
    case PlayerRegion::Pause:
        engine.PauseMusic();
        break;
    case PlayerRegion::Rewind:
        engine.SeekMusic("0");
        break;
    case PlayerRegion::Next:
        if (const int next = NextMusicEntry(); next > 0)
            AcxtiveFile(next);
        break;
    case PlayerRegion::TempoReset:
        tempo_ = resetTempo_;
        engine.SetMidiTempo(static_cast<std::int16_t>(tempo_));
        break;
    case PlayerRegion::TempoUp:
        tempo_ = TempoUp(tempo_);
        engine.SetMidiTempo(static_cast<std::int16_t>(tempo_));
        break;
    case PlayerRegion::TempoDown:
        tempo_ = TempoDown(tempo_);
        engine.SetMidiTempo(static_cast<std::int16_t>(tempo_));
        break;
    default:
        break;
    }
}

void MusicPlayer::OnCaptureLost()
{
    // Another window took the mouse (a switch to another program mid-drag):
    // the drag ends where it is, as a release off every control would.
    if (releasing_ || !(seekDrag_ || tempoDrag_ || volumeDrag_ || pressed_ != decltype(pressed_){}))
        return;
    seekDrag_ = tempoDrag_ = volumeDrag_ = false;
    pressed_ = {};
    DrawPlayer();
}

void MusicPlayer::SeekBy(int seconds)
{
    PlaybackEngine& engine = MusicEngine();
    const std::int32_t to = std::clamp(engine.GetMusicPosition() + seconds, 0, std::max(length_, 0));
    engine.SeekMusic(std::to_string(to));
    shownPosition_ = to;
    PlaceSeekThumb();
}

// The keys stand in for the buttons and sliders: what a click does, a key does.
void MusicPlayer::OnKey(UINT vk, bool repeat)
{
    PlaybackEngine& engine = MusicEngine();
    const bool once = !repeat; // held keys repeat only the sliders
    switch (vk) {
    case VK_SPACE:
        if (once)
            engine.GetMusicState() == 1 ? Release(PlayerRegion::Pause) : Release(PlayerRegion::Play);
        break;
    case 'S':
        if (once)
            Release(PlayerRegion::Stop);
        break;
    case VK_HOME:
        if (once)
            Release(PlayerRegion::Rewind);
        break;
    case 'N':
        if (once)
            Release(PlayerRegion::Next);
        return;
    case 'P':
        if (const int previous = PreviousMusicEntry(FileList().Table, FileList().PlayingEntry); once && previous > 0)
            AcxtiveFile(previous);
        return;
    case 'R':
        if (once && IsMidi())
            Release(PlayerRegion::TempoReset);
        break;
    case 'M':
        if (once)
            ComMin();
        return;
    case VK_ESCAPE:
        if (once)
            ComExit();
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (engine.IsOpen() && !seekDrag_)
            SeekBy(vk == VK_LEFT ? -5 : 5);
        break;
    case VK_UP:
    case VK_DOWN:
        if (!volumeDrag_) {
            attenuation_ = std::clamp(attenuation_ + (vk == VK_UP ? -5 : 5), 0, kMaxAttenuation);
            PlaceKnob();
            SetVolumeFromKnob();
        }
        break;
    default:
        return;
    }
    if (hwnd_ && IsWindowVisible(hwnd_))
        DrawPlayer();
}

void MusicPlayer::OnChar(char c)
{
    if ((c != '+' && c != '-') || !IsMidi())
        return;
    Release(c == '+' ? PlayerRegion::TempoUp : PlayerRegion::TempoDown);
    DrawPlayer();
}

void MusicPlayer::RunMenu(const POINT* at)
{
    switch (PopPlayerMenu(hwnd_, at)) {
    case PlayerCommand::Play:
        MusicEngine().PlayMusic();
        DrawPlayer();
        break;
    case PlayerCommand::Stop:
        MusicEngine().StopMusic();
        DrawPlayer();
        break;
    case PlayerCommand::Min:
        ComMin();
        break;
    case PlayerCommand::Exit:
        ComExit();
        break;
    case PlayerCommand::TagEditor:
        ShowTagEditor();
        break;
    case PlayerCommand::None:
        break;
    }
}

} // namespace lt
