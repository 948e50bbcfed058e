// One frame of the player: the skin, pressed faces, title, format line,
// times, thumbs, tooltip and kind badge, composed on the window's image.
#include "core/settings_store.h"
#include "music/music_engine.h"
#include "music/music_rules.h"
#include "music/player_window.h"

namespace lt {

namespace {

constexpr DWORD SrcErase = 0x440328;  // SRCERASE
constexpr DWORD SrcInvert = 0x660046; // SRCINVERT
constexpr COLORREF TitleColour = 0xFFF0F0;
constexpr COLORREF TitleShadow = 0x640032;
constexpr COLORREF FormatShadow = 0x880000;
constexpr COLORREF White = 0xFFFFFF;
const char* const TimeFace = "ＭＳ ゴシック";

void Copy(HDC target, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop = SRCCOPY)
{
    BitBlt(target, x, y, w, h, source, sx, sy, rop);
}

} // namespace

void MusicPlayer::Thumb(int x, int y)
{
    // Mask first (black where the thumb is), then the picture over it.
    Copy(frame_.Dc(), x - 3, y, 10, 16, skin_.Scl.Dc(), 10, 0, SrcErase);
    Copy(frame_.Dc(), x - 3, y, 10, 16, skin_.Scl.Dc(), 0, 0, SrcInvert);
}

void MusicPlayer::DrawTitle()
{
    const double size = AppSettings().FontSize;
    if (!titleScrolls_) {
        backText_->SetFontSize(size);
        const int width = backText_->TextWidth(title_);
        DrawWrappedText(*backText_, title_, size, {kThumbLeft - width / 2, 30, width, 10}, TitleColour,
                        TitleShadow, true);
    } else {
        SetTextColor(back_.Dc(), TitleShadow);
        DrawWrappedText(*backText_, MarqueeText(title_), size, {marquee_.TextX(30), 30, marquee_.BoxWidth(), 10},
                        TitleColour, TitleShadow, true);
        marquee_.Advance(backText_->TextWidth(MarqueePeriodText(title_)));
    }
    Copy(frame_.Dc(), 30, 24, kTitlePanelWidth, 27, back_.Dc(), 30, 24);
}

void MusicPlayer::DrawFormatLine()
{
    PlaybackEngine& engine = MusicEngine();
    std::string text;
    if (engine.CurrentBackEnd() == BackEnd::Mp3) {
        Ltmp3MpegInfo info{};
        if (!engine.GetMpegInfo(info))
            return;
        text = Mp3FormatLine(info.BitRate, info.SampleRate, info.Channels);
    } else if (engine.CurrentBackEnd() == BackEnd::Wave) {
        text = WaveFormatLine(engine.GetWaveStatus("samplespersec"), engine.GetWaveStatus("bitspersample"),
                              engine.GetWaveStatus("channels"));
    } else {
        return;
    }
    Copy(frame_.Dc(), 28, 78, 128, 15, skin_.Wd.Dc(), 0, 0);
    frameText_->SetFontSize(9);
    SetDcText(frame_.Dc(), FormatShadow, true);
    PrintCentered(*frameText_, 93, 80, true, false, text);
    SetTextColor(frame_.Dc(), White);
    PrintCentered(*frameText_, 92, 79, true, false, text);
}

// What the player shows, as numbers another process can read (window
// properties): the tests and tools look at the player through them.
void MusicPlayer::PublishState()
{
    PlaybackEngine& engine = MusicEngine();
    const auto put = [this](const char* name, long value) {
        SetPropA(hwnd_, name, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
    };
    put(StateProps[0], engine.GetMusicState() + 1);
    put(StateProps[1], engine.GetMusicPosition());
    put(StateProps[2], kMaxAttenuation - attenuation_);
    put(StateProps[3], tempo_);
    put(StateProps[4], static_cast<long>(engine.CurrentBackEnd()));
    put(StateProps[5], marquee_.Offset());
    put(StateProps[6], ++framesDrawn_);
}

void MusicPlayer::DrawPlayer()
{
    if (!hwnd_ || IsIconic(hwnd_) || !frameText_)
        return;
    PlaybackEngine& engine = MusicEngine();
    HDC frame = frame_.Dc();
    Copy(frame, 0, 0, 307, 123, skin_.Background.Dc(), 0, 0);
    Copy(back_.Dc(), 0, 0, 307, 123, skin_.Background.Dc(), 0, 0);

    if (Pressed(PlayerRegion::Minimise))
        Copy(frame, 270, 4, 16, 14, skin_.MiniBtns.Dc(), 16, 28);
    if (Pressed(PlayerRegion::Close))
        Copy(frame, 286, 4, 16, 14, skin_.MiniBtns.Dc(), 16, 42);
    if (Pressed(PlayerRegion::Play))
        Copy(frame, 31, 96, 54, 22, skin_.Play.Dc(), 0, 22);
    if (Pressed(PlayerRegion::Stop))
        Copy(frame, 84, 96, 27, 22, skin_.Btns.Dc(), 27, 0);
    if (Pressed(PlayerRegion::Pause))
        Copy(frame, 111, 96, 27, 22, skin_.Btns.Dc(), 27, 22);
    if (Pressed(PlayerRegion::Rewind))
        Copy(frame, 138, 96, 27, 22, skin_.Btns.Dc(), 27, 44);
    if (Pressed(PlayerRegion::Next))
        Copy(frame, 165, 96, 27, 22, skin_.Btns.Dc(), 27, 66);

    const bool midi = IsMidi();
    if (midi) {
        Copy(frame, 87, 79, 39, 14, skin_.Reset.Dc(), 0, Pressed(PlayerRegion::TempoReset) ? 14 : 0);
        Copy(frame, 127, 79, 16, 14, skin_.MiniBtns.Dc(), Pressed(PlayerRegion::TempoUp) ? 16 : 0, 0);
        Copy(frame, 143, 79, 16, 14, skin_.MiniBtns.Dc(), Pressed(PlayerRegion::TempoDown) ? 16 : 0, 14);
    }

    DrawTitle();
    DrawFormatLine();

    frameText_->SetFontName(TimeFace);
    frameText_->SetFontSize(10);
    SetDcText(frame, White, true);
    PrintAt(*frameText_, 34, 61, FormatPlayTime(engine.GetMusicPosition()));
    PrintAt(*frameText_, 110, 61, FormatPlayTime(length_));

    Thumb(seekX_, 59);
    if (midi) {
        PrintCentered(*frameText_, 54, 79, true, false, std::to_string(tempo_));
        Thumb(tempoX_, 76);
    }
    Copy(frame, 7, knobY_ - 8, 16, 16, skin_.Vol.Dc(), 0, 0);

    if (seekDrag_) {
        Copy(tim_.Dc(), 0, 0, tim_.Width(), tim_.Height(), skin_.Tim.Dc(), 0, 0);
        timText_->SetFontName(TimeFace);
        // Small enough that minutes, the full-width colon and seconds fit
        // the 32-pixel tip.
        timText_->SetFontSize(7);
        SetDcText(tim_.Dc(), 0, true);
        PrintAt(*timText_, 2, 0, FormatPlayTime(shownPosition_));
        Copy(frame, seekX_ - 11, 43, 32, 13, tim_.Dc(), 0, 0);
    }

    const BackEnd backEnd = engine.CurrentBackEnd();
    const int badge = backEnd == BackEnd::Wave ? 0 : backEnd == BackEnd::Midi ? 30 : 60;
    Copy(frame, 220, 93, 48, 30, skin_.MusicType.Dc(), 0, badge);

    PublishState();
    HDC window = GetDC(hwnd_);
    Copy(window, 0, 0, 307, 123, frame, 0, 0);
    ReleaseDC(hwnd_, window);
}

} // namespace lt
