// The movie device and the movie window's controls, apart from the window
// itself: what each event sends to the "AVI" device and shows in the window.
#pragma once
#include <cstdint>
#include <string>

#include "movie/mci_port.h"
#include "movie/movie_rules.h"

namespace lt {

// The window (and the little of the platform) the player acts on.
class MovieView {
public:
    virtual ~MovieView() = default;
    // Loads the window when needed, without showing it; false when it cannot
    // be made.
    virtual bool Load() = 0;
    virtual void Show() = 0;
    // Paints what is pending now, the video's first frame included.
    virtual void PaintNow() = 0;
    virtual void Unload() = 0;
    virtual std::uintptr_t PicAvi() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetOuterSize(FrameSize size) = 0;
    // Sizes the device's video window (a handle from the device's reply).
    virtual void SizeVideo(std::uintptr_t video, int width, int height) = 0;
    virtual void SetPlayCaption(bool playing) = 0; // "停止" while playing, else "再生"
    virtual void SetSpeedCaption(int movieSpeed) = 0; // shows SpeedCaption(movieSpeed)
    virtual void SetSpeedMeter(int value) = 0;
    virtual void SetPosRange(int max) = 0;
    virtual void SetPos(int value) = 0;
    virtual void SetPosEnabled(bool enabled) = 0;

    virtual bool FileExists(const std::string& path) = 0;
    virtual std::string ShortPath(const std::string& path) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // Lets pending window messages run; anything may change meanwhile.
    virtual void PumpMessages() = 0;
};

class MoviePlayer {
public:
    // Wine's player fails a stop of a movie without sound with this code,
    // after stopping it.
    static constexpr unsigned SilentStopError = 5;
    static constexpr int NormalSpeed = 1000;

    MoviePlayer(MovieMci& mci, MovieView& view) : mci_(mci), view_(view) {}

    void OpenMovie(const std::string& path);
    void CloseMovie();

    // Window events.
    int Loaded(); // the speed meter's first value
    void Resized(int width, int height);
    void PlayStop();
    void Rewind();
    void ChooseSpeed(int index);
    void SpeedMeterMoved(int value);
    void PositionMoved(int value);
    void Tick();

    bool IsOpen() const { return open_; }
    bool Playing() const { return playing_; }
    int Speed() const { return speed_; }
    std::int32_t Length() const { return scale_.Length; }

private:
    void Replay();
    void SetPlaying(bool playing);
    void SetMeter(int value);
    void SpeedChanged();
    void SetBar(int value);
    void PositionChanged();
    double Position();
    // Sends a command that stops the device, without reporting the silent
    // movie's false failure.
    void StopCommand(const char* command);

    MovieMci& mci_;
    MovieView& view_;
    bool open_ = false;
    // The "AVI" device is ours and open. Without it the device is not
    // asked anything: a query to an unopened alias makes the platform try to
    // open a device by that name, which costs time for nothing.
    bool deviceOpen_ = false;
    bool playing_ = false;
    int speed_ = NormalSpeed;
    int meter_ = NormalSpeed / 10;
    int bar_ = 0;
    PositionScale scale_;
    std::string openPath_;
    unsigned serial_ = 0; // counts opens and closes, to notice them across a pump
};

} // namespace lt
