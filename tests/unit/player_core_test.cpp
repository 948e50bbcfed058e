#include <gtest/gtest.h>

#include "fake_wave_output.h"
#include "ltmp3/player_core.h"

using namespace ltmp3;
using test::FakeWaveOutput;
using test::NumberedFrames;

namespace {

constexpr std::size_t FrameBytes = 1152 * 4;

struct Player {
    explicit Player(std::size_t frames) : info(test::Piece(frames)), source(info), core(device, source)
    {
        core.SetDoneSignal([this] { ++signals; });
        core.SetPiece(&info);
    }
    // The device plays n buffers and the thread takes its turn after each.
    bool Run(int n)
    {
        bool going = true;
        for (int i = 0; i < n && going; ++i) {
            device.Complete(1);
            going = core.Step();
        }
        return going;
    }
    // Frame numbers of what the device played since the last look: first and last.
    std::pair<int, int> Heard()
    {
        const auto pcm = device.TakeHeard();
        if (pcm.size() < 2)
            return {-1, -1};
        return {pcm[0] | pcm[1] << 8, pcm[pcm.size() - 2] | pcm[pcm.size() - 1] << 8};
    }
    StreamInfo info;
    FakeWaveOutput device;
    NumberedFrames source;
    PlayerCore core;
    int signals = 0;
};

enum class From { Closed, Stopped, Playing, Paused };

void Bring(Player& p, From from)
{
    if (from == From::Closed)
        p.core.SetPiece(nullptr);
    if (from == From::Playing || from == From::Paused) {
        ASSERT_TRUE(p.core.Play());
        p.Run(2);
    }
    if (from == From::Paused)
        p.core.Pause();
}

} // namespace

TEST(PlayerCore, EveryCallInEveryState)
{
    using S = PlayState;
    struct Row {
        const char* Call;
        From Start;
        S After;
        int Result;   // of play and restart; -1 for the calls without one
        int Position; // seconds after the call
    };
    // Two buffers of 0.31 s each have played before the call in the playing
    // and paused rows: the position reads 0 s there.
    const Row rows[] = {
        {"play", From::Closed, S::Stopped, 0, 0},    {"play", From::Stopped, S::Playing, 1, 0},
        {"play", From::Playing, S::Playing, 0, 0},   {"play", From::Paused, S::Paused, 0, 0},
        {"pause", From::Closed, S::Stopped, -1, 0},  {"pause", From::Stopped, S::Stopped, -1, 0},
        {"pause", From::Playing, S::Paused, -1, 0},  {"pause", From::Paused, S::Paused, -1, 0},
        {"restart", From::Closed, S::Stopped, 0, 0}, {"restart", From::Stopped, S::Stopped, 0, 0},
        {"restart", From::Playing, S::Playing, 0, 0}, {"restart", From::Paused, S::Playing, 1, 0},
        {"stop", From::Closed, S::Stopped, -1, 0},   {"stop", From::Playing, S::Stopped, -1, 0},
        {"stop", From::Paused, S::Stopped, -1, 0},   {"seek", From::Closed, S::Stopped, -1, 0},
        {"seek", From::Stopped, S::Stopped, -1, 0},  {"seek", From::Playing, S::Playing, -1, 7},
        {"seek", From::Paused, S::Paused, -1, 7},    {"open", From::Playing, S::Stopped, -1, 0},
        {"open", From::Paused, S::Stopped, -1, 0},   {"close", From::Playing, S::Stopped, -1, 0},
    };
    for (const Row& row : rows) {
        Player p(2000);
        Bring(p, row.Start);
        const std::string call = row.Call;
        const int opens = p.device.opens_;
        int result = -1;
        if (call == "play")
            result = p.core.Play();
        else if (call == "pause")
            p.core.Pause();
        else if (call == "restart")
            result = p.core.Restart();
        else if (call == "stop")
            p.core.Stop();
        else if (call == "seek")
            p.core.Seek(7);
        else
            p.core.SetPiece(call == "open" ? &p.info : nullptr);
        const std::string where = call + " from state " + std::to_string(int(row.Start));
        EXPECT_EQ(p.core.State(), row.After) << where;
        EXPECT_EQ(result, row.Result) << where;
        EXPECT_EQ(p.core.PositionSeconds(), std::uint32_t(row.Position)) << where;
        // The device is open exactly while the player is not stopped, and
        // nothing reopens it behind a call that changes nothing.
        EXPECT_EQ(p.device.IsOpen(), row.After != S::Stopped) << where;
        const S before = row.Start == From::Playing ? S::Playing : row.Start == From::Paused ? S::Paused : S::Stopped;
        if (row.After == before) {
            EXPECT_EQ(p.device.opens_, opens) << where;
        }
        EXPECT_EQ(p.device.IsPaused() && p.device.IsOpen(), row.After == S::Paused) << where;
        EXPECT_EQ(p.device.Misuse(), "") << where;
    }
}

TEST(PlayerCore, SeekWhilePausedStaysSilentThenResumesThere)
{
    Player p(2000);
    ASSERT_TRUE(p.core.Play());
    p.Run(2);
    p.core.Pause();
    p.device.TakeHeard();
    const int signals = p.signals;
    p.core.Seek(10);
    EXPECT_EQ(p.signals, signals + 1) << "the thread is woken to move there";
    EXPECT_EQ(p.core.PositionSeconds(), 10u) << "at once, before the thread has moved";
    ASSERT_TRUE(p.core.Step());
    EXPECT_EQ(p.device.Queued(), PlayerCore::BuffersAfterSeek) << "refilled from the new place, the first at once";
    ASSERT_TRUE(p.core.Step());
    EXPECT_EQ(p.device.Queued(), PlayerCore::BufferCount) << "the rest at the next turn";
    EXPECT_EQ(p.device.Complete(4), 0) << "and silent while paused";
    EXPECT_EQ(p.core.PositionSeconds(), 10u);
    ASSERT_TRUE(p.core.Restart());
    p.Run(1);
    const int at = int(FrameForSecond(10, p.info));
    EXPECT_EQ(p.Heard(), std::make_pair(at, at + 11));
    // A seek past the end ends the piece once what is queued has played.
    p.core.Seek(3600);
    EXPECT_FALSE(p.Run(8));
    EXPECT_EQ(p.core.State(), PlayState::Stopped);
    EXPECT_EQ(p.device.Misuse(), "");
}

TEST(PlayerCore, TheEndOfThePieceStopsAndRewinds)
{
    // 30 frames, then the same piece cut short: the file can no longer be
    // read after its 20th frame. Both play what they have and stop.
    for (std::size_t readable : {std::size_t(30), std::size_t(20)}) {
        Player p(30);
        p.source.readableFrames_ = readable;
        ASSERT_TRUE(p.core.Play());
        std::size_t bytes = 0;
        int turns = 0;
        while (p.Run(1) && ++turns < 100)
            bytes += p.device.TakeHeard().size();
        bytes += p.device.TakeHeard().size();
        EXPECT_EQ(bytes, readable * FrameBytes) << readable;
        EXPECT_EQ(p.core.State(), PlayState::Stopped) << readable;
        EXPECT_EQ(p.core.PositionSeconds(), 0u) << readable;
        EXPECT_FALSE(p.device.IsOpen()) << readable;
        EXPECT_FALSE(p.core.Step()) << "the thread is done";
        ASSERT_TRUE(p.core.Play()) << "and the next play starts again";
        EXPECT_EQ(p.Run(1), true);
        EXPECT_EQ(p.Heard().first, 0);
        EXPECT_EQ(p.device.Misuse(), "");
    }
}

TEST(PlayerCore, FailedOpensLeaveItStoppedAndTheVolumeGoesToEveryOpen)
{
    Player p(100);
    p.device.failOpen_ = true;
    EXPECT_FALSE(p.core.Play());
    p.device.failOpen_ = false;
    p.source.failStart_ = true;
    EXPECT_FALSE(p.core.Play());
    EXPECT_FALSE(p.device.IsOpen()) << "a piece that cannot be decoded closes the device again";
    EXPECT_EQ(p.core.State(), PlayState::Stopped);
    p.source.failStart_ = false;
    p.core.SetVolume(0x80008000);
    ASSERT_TRUE(p.core.Play());
    EXPECT_EQ(p.device.volume_, 0x80008000u);
    p.core.SetVolume(0x10001000);
    EXPECT_EQ(p.device.volume_, 0x10001000u);
    EXPECT_EQ((std::pair{p.device.format_.Channels, p.device.format_.SampleRate}), (std::pair{2, 44100}));
    EXPECT_EQ(p.device.Misuse(), "");
}
