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
        if (periodWidth_ < 0)
            periodWidth_ = backText_->TextWidth(MarqueePeriodText(title_));
        marquee_.Advance(periodWidth_);
    }
    Copy(frame_.Dc(), 30, 24, kTitlePanelWidth, 27, back_.Dc(), 30, 24);
}

std::string MusicPlayer::FormatLine()
{
    PlaybackEngine& engine = MusicEngine();
    if (engine.CurrentBackEnd() == BackEnd::Mp3) {
        Ltmp3MpegInfo info{};
        return engine.GetMpegInfo(info) ? Mp3FormatLine(info.BitRate, info.SampleRate, info.Channels) : "";
    }
    if (engine.CurrentBackEnd() == BackEnd::Wave) {
        const std::int32_t bits = engine.GetWaveStatus("bitspersample");
        const std::int32_t channels = engine.GetWaveStatus("channels");
        const std::int32_t rate = engine.GetWaveStatus("samplespersec");
        return WaveFormatLine(rate, bits, channels);
    }
    return "";
}

void MusicPlayer::DrawFormatLine()
{
    const std::string line = FormatLine();
    if (line.empty())
        return;
    Copy(frame_.Dc(), 28, 78, 128, 15, skin_.Wd.Dc(), 0, 0);
    formatText_->Select();
    SetDcText(frame_.Dc(), FormatShadow, true);
    PrintCentered(*formatText_, 93, 80, true, false, line);
    SetTextColor(frame_.Dc(), White);
    PrintCentered(*formatText_, 92, 79, true, false, line);
}

void MusicPlayer::DrawPlayer()
{
    if (!hwnd_ || IsIconic(hwnd_) || !timeText_)
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

    const std::int32_t position = engine.GetMusicPosition();
    timeText_->Select();
    SetDcText(frame, White, true);
    PrintAt(*timeText_, 34, 61, FormatPlayTime(position));
    PrintAt(*timeText_, 110, 61, FormatPlayTime(length_));

    Thumb(seekX_, 59);
    if (midi) {
        PrintCentered(*timeText_, 54, 79, true, false, std::to_string(tempo_));
        Thumb(tempoX_, 76);
    }
    Copy(frame, 7, knobY_ - 8, 16, 16, skin_.Vol.Dc(), 0, 0);

    if (seekDrag_) {
        Copy(tim_.Dc(), 0, 0, tim_.Width(), tim_.Height(), skin_.Tim.Dc(), 0, 0);
        SetDcText(tim_.Dc(), 0, true);
        PrintAt(*timText_, 2, 0, FormatPlayTime(shownPosition_));
        Copy(frame, seekX_ - 11, 43, 32, 13, tim_.Dc(), 0, 0);
    }

    const BackEnd backEnd = engine.CurrentBackEnd();
    const int badge = backEnd == BackEnd::Wave ? 0 : backEnd == BackEnd::Midi ? 30 : 60;
    Copy(frame, 220, 93, 48, 30, skin_.MusicType.Dc(), 0, badge);

    drawnPosition_ = position;
    ++framesDrawn_;
    HDC window = GetDC(hwnd_);
    Copy(window, 0, 0, 307, 123, frame, 0, 0);
    ReleaseDC(hwnd_, window);
}

} // namespace lt
