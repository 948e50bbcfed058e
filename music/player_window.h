// The music player: a skinned, borderless, always-on-top window that shows
// and drives the piece the playback engine has open.
#pragma once
#include <windows.h>

#include <array>
#include <iterator>
#include <cstdint>
#include <memory>
#include <string>

#include "core/file_kind_rules.h"
#include "core/win_handles.h"
#include "core/window_proc.h"
#include "dialogs/text_draw.h"
#include "music/engine_ports.h"
#include "music/playback_engine.h"
#include "music/player_rules.h"
#include "music/player_skin.h"

namespace lt {

// Window properties the player publishes for tools outside the process:
// the engine's state + 1, the position drawn, the volume, the tempo, the back
// end, the title's marquee offset and the count of frames drawn.
inline constexpr const char* StateProps[] = {"LtState", "LtPosition", "LtVolume", "LtTempo",
                                             "LtBackEnd", "LtMarquee", "LtFrames"};

class MusicPlayer final : public PlayerHooks {
public:
    static constexpr const char* ClassName = "LumatrovePlayer";

    MusicPlayer() = default;
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;
    ~MusicPlayer() override;

    void OpenMusicFile(const std::string& path, FileKind kind);
    void ComMin();
    void ComExit();
    void DrawPlayer();
    // Closes the piece and the window (the program is ending).
    void Unload();

    HWND Hwnd() const { return hwnd_; }

    void SetMusicTimer(bool on) override;
    int NextMusicEntry() override;
    void ActivateEntry(int index) override;

private:
    friend LRESULT CALLBACK WindowProcOf<MusicPlayer>(HWND, UINT, WPARAM, LPARAM);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

    bool EnsureWindow(); // creates and loads the window when it is not there
    bool OnLoad();
    void OnUnload();
    void OnTimer();
    void OnMouseDown(UINT msg, int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseUp(int x, int y);
    void OnCaptureLost();
    void OnKey(UINT vk, bool repeat);
    void OnChar(char c);
    void RunMenu(const POINT* at = nullptr);
    void Release(PlayerRegion region);
    bool Pressed(PlayerRegion r) const { return pressed_[static_cast<std::size_t>(r)]; }
    bool IsMidi();
    void PlaceSeekThumb() { seekX_ = SeekThumbX(shownPosition_, shownLength_); }
    void PlaceTempoThumb() { tempoX_ = TempoThumbX(tempo_); }
    void PlaceKnob() { knobY_ = VolumeKnobY(attenuation_); }
    void SetVolumeFromKnob();
    void SeekBy(int seconds);

    // What the window holds, as properties; nothing here asks a device.
    void Publish();
    void DrawTitle();
    void DrawFormatLine();
    std::string FormatLine(); // of the open piece, "" for MIDI
    void Thumb(int x, int y);

    HWND hwnd_ = nullptr;
    PlayerSkin skin_;
    SkinPicture frame_; // what the window shows
    SkinPicture back_;  // PicBack: where the title is composed
    SkinPicture tim_;   // the seek tooltip surface
    // Each keeps its own font, so a frame switches fonts by selecting them.
    std::unique_ptr<TextSurface> timeText_, formatText_, backText_, timText_;

    std::array<bool, 14> pressed_{};
    std::int32_t shownPosition_ = 0, shownLength_ = 0;
    int seekX_ = kThumbLeft;
    bool seekDrag_ = false;
    int tempo_ = 0, tempoX_ = kThumbLeft;
    int tempoAtPress_ = 0;
    bool tempoDrag_ = false;
    int resetTempo_ = 0;
    int attenuation_ = 0, knobY_ = kKnobTop;
    int attenuationAtPress_ = 0;
    bool volumeDrag_ = false;
    bool titleScrolls_ = false;
    Marquee marquee_;
    WaveEndCounter waveEnd_;
    bool timerOn_ = false;
    long framesDrawn_ = 0;
    std::int32_t drawnPosition_ = 0;
    bool releasing_ = false; // our own ReleaseCapture: not a lost drag
    std::array<long, std::size(StateProps)> published_{};
    int periodWidth_ = -1; // of the title and its spaces, measured once per piece
    unsigned openSerial_ = 0; // tells a pumped loop that another open began

    std::string title_;
    std::int32_t length_ = 0;
};

MusicPlayer& Player();

} // namespace lt
