#include "movie/movie_player.h"

#include <algorithm>
#include <vector>

#include "core/text_rules.h"

namespace lt {

namespace {
constexpr const char* TitlePrefix = "BriskReeler - ";
}

void MoviePlayer::OpenMovie(const std::string& path)
{
    if (path.empty() || !view_.FileExists(path))
        return;
    if (open_ && path == openPath_) {
        Replay();
        return;
    }
    if (deviceOpen_)
        CloseMovie();
    const unsigned serial = ++serial_;
    // Shown once everything in it is in place, not before.
    if (!view_.Load())
        return;

    const std::string shortPath = path.find(' ') == std::string::npos ? std::string() : view_.ShortPath(path);
    std::string reply;
    if (unsigned code = mci_.Send(OpenCommand(OpenTarget(path, shortPath), view_.PicAvi()), reply)) {
        // Quietly: the device never opened, so a close would only add a
        // second box about that.
        mci_.Send("Close Avi", reply);
        view_.ShowMessage(mci_.ErrorText(code));
        if (serial == serial_ && !open_) // no other movie came in while the box was up
            view_.Unload();
        return;
    }
    deviceOpen_ = true;

    const double length = LeadingNumber(mci_.Query("status AVI length"));
    scale_.Length = static_cast<std::int32_t>(std::clamp<std::int64_t>(RoundHalfEven(length), 0, INT32_MAX));
    view_.SetPosRange(scale_.BarMax());
    bar_ = 0; // the new movie starts at its beginning
    view_.SetPos(0);
    const FrameSize frame = ParseSourceRect(mci_.Query("where AVI source"));
    // Set before the sizing, which lays the menu bar out with it.
    view_.SetSpeedCaption(speed_);
    view_.SetTitle(TitlePrefix + FileNameOf(path));
    view_.SetOuterSize(MovieWindowSize(frame));
    const std::uintptr_t video = WindowHandleOfReply(mci_.Query("status AVI window handle"));
    view_.SizeVideo(video, frame.Width, frame.Height);
    // A failing command's message box lets messages run: a movie opened
    // meanwhile has the device and the window from then on.
    const auto overtaken = [&] { return serial != serial_; };
    std::vector<std::string> setup{"put AVI destination"};
    // The display shows the stored speed, so the device plays at it too.
    if (speed_ != NormalSpeed)
        setup.push_back(SpeedCommand(speed_));
    for (const std::string& command : setup) {
        mci_.Execute(command);
        if (overtaken())
            return;
    }
    // Playback starts from the beginning of a new movie: no end to rewind
    // from. The controls are set while a new window is still hidden, where
    // changes cost no drawing; the window is then shown and painted before
    // the device plays on, and before the caller's remaining work (the list).
    view_.SetPosEnabled(false);
    view_.SetPlayCaption(true);
    // Still not open for the window: the sizing its first showing sends
    // must leave the video at the movie's own size.
    view_.Show();
    view_.PaintNow();
    open_ = true;
    openPath_ = path;
    mci_.Execute("play AVI");
    // Only now: a failed play's message box lets the end watch run, which
    // must not take the stopped device for a movie played to its end.
    if (!overtaken())
        playing_ = true;
}

void MoviePlayer::Replay()
{
    mci_.Execute("Seek AVI to start");
    mci_.Execute(SpeedCommand(speed_));
    mci_.Execute("play AVI");
    // The window shows what the device does: playing, the bar locked, and
    // the end watch on.
    view_.SetPosEnabled(false);
    SetPlaying(true);
}

void MoviePlayer::CloseMovie()
{
    if (!deviceOpen_)
        return; // nothing open
    const std::string mode = mci_.Query("status AVI mode");
    if (ModeIs(mode, "playing")) {
        StopCommand("Stop AVI");
        mci_.Execute("Close AVI");
    } else if (ModeIs(mode, "stopped")) {
        mci_.Execute("Close AVI");
    } else {
        StopCommand("Stop AVI");
        mci_.Execute("Close AVI");
    }
    ++serial_;
    open_ = deviceOpen_ = false;
    openPath_.clear();
    SetPlaying(false);
}

int MoviePlayer::Loaded()
{
    meter_ = speed_ / 10;
    bar_ = 0;
    return meter_;
}

void MoviePlayer::Resized(int width, int height)
{
    // While a movie opens, the open itself sizes the video once.
    if (!deviceOpen_ || !open_)
        return;
    const std::string mode = mci_.Query("status AVI mode");
    if (!ModeIs(mode, "playing") && !ModeIs(mode, "stopped"))
        return;
    const std::uintptr_t video = WindowHandleOfReply(mci_.Query("status AVI window handle"));
    view_.SizeVideo(video, width, height);
    mci_.Execute("put AVI destination");
    mci_.Execute("window AVI state show");
}

double MoviePlayer::Position()
{
    return LeadingNumber(mci_.Query("status AVI position"));
}

void MoviePlayer::PlayStop()
{
    if (!open_)
        return;
    const unsigned serial = serial_;
    if (playing_) {
        const double pos = Position();
        if (AtEnd(pos, scale_.Length)) {
            // Finished but not yet noticed: start again from the beginning.
            SetPlaying(false);
            view_.PumpMessages();
            if (serial == serial_ && open_ && !playing_)
                PlayStop();
            return;
        }
        StopCommand("stop AVI");
        // Stopped before the pump, so that the end watch does not take
        // this stop for the end of the movie.
        SetPlaying(false);
        view_.PumpMessages();
        if (serial != serial_ || !open_ || playing_)
            return; // closed, replaced or started again meanwhile
        SetBar(scale_.ToBar(pos));
        view_.SetPosEnabled(true);
        return;
    }
    if (AtEnd(Position(), scale_.Length))
        mci_.Execute("seek AVI to start");
    view_.SetPosEnabled(false);
    mci_.Execute("play AVI");
    SetPlaying(true);
}

void MoviePlayer::Rewind()
{
    if (!open_)
        return;
    mci_.Execute("seek AVI to start");
    StopCommand("stop AVI");
    SetPlaying(false);
    SetBar(0);
    view_.SetPosEnabled(true);
}

void MoviePlayer::ChooseSpeed(int index)
{
    if (index >= 0 && index < static_cast<int>(SpeedPresets.size()))
        SetMeter(SpeedPresets[static_cast<std::size_t>(index)].Meter);
}

void MoviePlayer::SpeedMeterMoved(int value)
{
    if (value == meter_)
        return;
    meter_ = value;
    SpeedChanged();
}

void MoviePlayer::SetMeter(int value)
{
    if (value == meter_)
        return;
    meter_ = value;
    view_.SetSpeedMeter(value);
    SpeedChanged();
}

void MoviePlayer::SpeedChanged()
{
    if (!open_)
        return;
    speed_ = meter_ * 10;
    view_.SetSpeedCaption(speed_);
    mci_.Execute(SpeedCommand(speed_));
}

void MoviePlayer::PositionMoved(int value)
{
    if (value == bar_)
        return;
    bar_ = value;
    PositionChanged();
}

void MoviePlayer::SetBar(int value)
{
    if (value == bar_)
        return;
    bar_ = value;
    view_.SetPos(value);
    PositionChanged();
}

void MoviePlayer::PositionChanged()
{
    if (!open_)
        return;
    mci_.Execute(SeekCommand(scale_.ToFrame(bar_)));
    if (playing_)
        mci_.Execute("play AVI");
}

void MoviePlayer::Tick()
{
    if (!playing_ || !ModeIs(mci_.Query("status AVI mode"), "stopped"))
        return;
    SetPlaying(false);
    SetBar(scale_.BarMax());
    view_.SetPosEnabled(true);
}

void MoviePlayer::SetPlaying(bool playing)
{
    playing_ = playing;
    view_.SetPlayCaption(playing);
}

void MoviePlayer::StopCommand(const char* command)
{
    std::string reply;
    unsigned code = mci_.Send(command, reply);
    if (code == 0)
        return;
    if (code == SilentStopError && ModeIs(mci_.Query("status AVI mode"), "stopped"))
        return;
    mci_.ReportError(code);
}

} // namespace lt
