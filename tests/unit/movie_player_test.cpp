#include "movie/movie_player.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "movie/mci_recorder.h"

namespace lt {
namespace {

using Calls = std::vector<std::string>;

// Records what the player shows, in the order it shows it.
struct ViewRecorder final : MovieView {
    Calls calls;
    std::set<std::string> files{"C:\\m\\a.avi", "C:\\m\\b c.avi"};
    std::function<void()> onPump;

    void Note(std::string s) { calls.push_back(std::move(s)); }
    bool Load() override { return Note("load"), true; }
    void Show() override { Note("show"); }
    void PaintNow() override {}
    void Unload() override { Note("unload"); }
    std::uintptr_t PicAvi() const override { return 99; }
    void SetTitle(const std::string& t) override { Note("title " + t); }
    void SetOuterSize(FrameSize s) override { Note("outer " + Size(s.Width, s.Height)); }
    void SizeVideo(std::uintptr_t v, int w, int h) override { Note("video " + std::to_string(v) + " " + Size(w, h)); }
    void SetPlayCaption(bool playing) override { Note(playing ? "停止" : "再生"); }
    void SetSpeedCaption(const std::string& t) override { Note("speed " + t); }
    void SetSpeedMeter(int v) override { Note("meter " + std::to_string(v)); }
    void SetPosRange(int max) override { Note("max " + std::to_string(max)); }
    void SetPos(int v) override { Note("pos " + std::to_string(v)); }
    void SetPosEnabled(bool e) override { Note(e ? "bar on" : "bar off"); }
    bool FileExists(const std::string& p) override { return files.count(p) != 0; }
    std::string ShortPath(const std::string&) override { return "C:\\m\\BC~1.AVI"; }
    void ShowMessage(const std::string& t) override { Note("message " + t); }
    void PumpMessages() override
    {
        Note("pump");
        if (onPump)
            onPump();
    }
    static std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }
};

struct MoviePlayerTest : ::testing::Test {
    MciRecorder mci;
    ViewRecorder view;
    MoviePlayer player{mci, view};

    void Answer(const std::string& command, std::string reply, unsigned code = 0)
    {
        mci.Answers[command] = {code, reply};
    }
    // Opens a.avi (20 frames, 320 x 240) and forgets the calls made so far.
    void OpenA()
    {
        Answer("status AVI length", "20");
        Answer("where AVI source", "0 0 320 240");
        Answer("status AVI window handle", "4660  ");
        player.OpenMovie("C:\\m\\a.avi");
        Answer("status AVI mode", "playing");
        mci.Calls.clear();
        view.calls.clear();
    }
};

TEST_F(MoviePlayerTest, OpenSizesTheWindowAndPlays)
{
    OpenA();
    ASSERT_TRUE(player.IsOpen() && player.Playing());
    mci.Calls.clear();
    player.OpenMovie("C:\\m\\nothing.avi");
    player.OpenMovie("");
    EXPECT_EQ(mci.Calls, Calls{});

    MoviePlayer fresh{mci, view};
    mci.Answers.erase("status AVI mode");
    view.calls.clear();
    fresh.OpenMovie("C:\\m\\a.avi");
    EXPECT_EQ(mci.Commands(), (Calls{"send open C:\\m\\a.avi alias AVI nostatic parent 99 style Child",
                                     "exec put AVI destination", "exec window AVI state show", "exec play AVI"}));
    EXPECT_EQ(view.calls, (Calls{"load", "max 20", "pos 0", "speed 100％", "title BriskReeler - a.avi",
                                 "outer 327x331", "video 4660 320x240", "bar off", "停止", "show"}));
}

// A playing movie is stopped before the next one takes the device.
TEST_F(MoviePlayerTest, SecondMovieStopsAndClosesThePlayingOne)
{
    OpenA();
    player.ChooseSpeed(2);
    mci.Calls.clear();
    player.OpenMovie("C:\\m\\b c.avi");
    EXPECT_EQ(
        mci.Commands(),
        (Calls{"send Stop AVI", "exec Close AVI", "send open C:\\m\\BC~1.AVI alias AVI nostatic parent 99 style Child",
               "exec put AVI destination", "exec window AVI state show", "exec set AVI speed 2000", "exec play AVI"}));
}

TEST_F(MoviePlayerTest, FailedOpenReportsOnceAndUnloads)
{
    Answer("open C:\\m\\a.avi alias AVI nostatic parent 99 style Child", "", 263);
    player.OpenMovie("C:\\m\\a.avi");
    EXPECT_EQ(mci.Commands(),
              (Calls{"send open C:\\m\\a.avi alias AVI nostatic parent 99 style Child", "send Close Avi"}));
    EXPECT_EQ(view.calls, (Calls{"load", "message error 263", "unload"}));
    EXPECT_FALSE(player.IsOpen());
    mci.Calls.clear();
    player.CloseMovie();
    player.PlayStop();
    EXPECT_EQ(mci.Commands(), Calls{});
}

// Stopping shows 再生 first: the pump between may let the user act.
TEST_F(MoviePlayerTest, StopLeavesTheBarAtTheFrameReached)
{
    OpenA();
    Answer("status AVI position", "7");
    player.PlayStop();
    EXPECT_EQ(mci.Commands(), (Calls{"send stop AVI", "exec seek AVI to 7"}));
    EXPECT_EQ(view.calls, (Calls{"再生", "pump", "pos 7", "bar on"}));
}

TEST_F(MoviePlayerTest, StopFailuresOnlyReportedWhenReal)
{
    struct Row {
        unsigned code;
        const char* modeAfter;
        Calls reports;
    };
    // Wine stops a movie without sound, then answers 5.
    for (const Row& r : {Row{5, "stopped", {}}, Row{5, "playing", {"report 5"}}, Row{263, "stopped", {"report 263"}}}) {
        OpenA();
        Answer("stop AVI", "", r.code);
        Answer("status AVI mode", r.modeAfter);
        player.PlayStop();
        Calls reports;
        for (const std::string& c : mci.Calls)
            if (c.rfind("report", 0) == 0)
                reports.push_back(c);
        EXPECT_EQ(reports, r.reports) << r.code << " " << r.modeAfter;
        player.CloseMovie();
        mci.Answers.clear();
    }
}

TEST_F(MoviePlayerTest, WhatHappensDuringThePumpWins)
{
    OpenA();
    Answer("status AVI position", "7");
    view.onPump = [&] { player.CloseMovie(); };
    player.PlayStop();
    EXPECT_EQ(mci.Commands(), (Calls{"send stop AVI", "send Stop AVI", "exec Close AVI"}));
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "pos 7"), 0);
}

TEST_F(MoviePlayerTest, SpeedAndResize)
{
    player.ChooseSpeed(4); // nothing open: the meter moves, nothing else
    EXPECT_EQ(player.Speed(), 1000);
    EXPECT_EQ(view.calls, Calls{"meter 500"});

    OpenA();
    player.ChooseSpeed(2);
    player.ChooseSpeed(2);
    player.ChooseSpeed(7);
    EXPECT_EQ(mci.Commands(), Calls{"exec set AVI speed 2000"});
    EXPECT_EQ(view.calls, (Calls{"meter 200", "speed 200％"}));

    mci.Calls.clear();
    player.Resized(200, 150);
    EXPECT_EQ(mci.Commands(), (Calls{"exec put AVI destination", "exec window AVI state show"}));
    EXPECT_EQ(view.calls.back(), "video 4660 200x150");
}

} // namespace
} // namespace lt
