// The movie window: menu bar, speed meter, the picture box the device draws
// into, and the position bar. Its decisions are the player's.
#pragma once
#include <windows.h>

#include "core/win_handles.h"
#include "movie/movie_player.h"

namespace lt {

class ViewAvi final : public MovieView {
public:
    static constexpr const char* ClassName = "LtViewAvi";

    ViewAvi() = default;
    ViewAvi(const ViewAvi&) = delete;
    ViewAvi& operator=(const ViewAvi&) = delete;
    ~ViewAvi() override;

    void Attach(MoviePlayer* player) { player_ = player; }
    HWND Hwnd() const { return hwnd_; }

    bool Load() override;
    void Show() override;
    void PaintNow() override;
    void Unload() override;
    std::uintptr_t PicAvi() const override;
    void SetTitle(const std::string& title) override;
    void SetOuterSize(FrameSize size) override;
    void SizeVideo(std::uintptr_t video, int width, int height) override;
    void SetPlayCaption(bool playing) override;
    void SetSpeedCaption(int movieSpeed) override;
    void SetSpeedMeter(int value) override;
    void SetPosRange(int max) override;
    void SetPos(int value) override;
    void SetPosEnabled(bool enabled) override;
    bool FileExists(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;
    void ShowMessage(const std::string& text) override;
    void PumpMessages() override;

private:
    static LRESULT CALLBACK WndProcThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK BarProc(HWND bar, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    bool OnLoad();
    void OnSize(int width, int height);
    void OnCommand(int id);
    void OnHScroll(HWND bar, int code, int thumb);
    // A key of the window's own, whichever of its controls has the focus;
    // false when the key is not one of them.
    bool OnKey(WPARAM key, LPARAM flags);
    // A bar's value moved by the user: clamped, shown and handed on.
    void MoveBar(HWND bar, int value);
    void PublishState();
    void OnPaint();
    void OnUnload();
    void RedrawMenuBar();

    MoviePlayer* player_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND spScroll_ = nullptr;
    HWND picAvi_ = nullptr;
    HWND laRader_ = nullptr;
    HWND sclPos_ = nullptr;
    HMENU menu_ = nullptr;
    GdiObject labelFont_;
    int lineEnd_ = 0;
    // What the menu bar shows: 停止 (playing) or 再生, and the speed in percent.
    bool shownPlaying_ = false;
    int shownSpeed_ = MoviePlayer::NormalSpeed / 10;
};

} // namespace lt
