#include "movie/movie_player.h"

#include <algorithm>
#include <array>
#include <functional>

#include <gtest/gtest.h>

#include "movie/mci_recorder.h"
#include "movie/movie_rules.h"

using namespace lt;
using Calls = std::vector<std::string>;

namespace {

// Records what the player shows, in the order it shows it.
struct ViewRecorder final : MovieView {
    Calls calls;
    std::function<void()> onPump;

    void Note(std::string s) { calls.push_back(std::move(s)); }
    static std::string Size(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }
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
    bool FileExists(const std::string& p) override { return p == "C:\\m\\a.avi" || p == "C:\\m\\b c.avi"; }
    std::string ShortPath(const std::string&) override { return "C:\\m\\BC~1.AVI"; }
    void ShowMessage(const std::string& t) override { Note("message " + t); }
    void PumpMessages() override
    {
        Note("pump");
        if (onPump)
            onPump();
    }
};

struct MoviePlayerTest : ::testing::Test {
    MciRecorder mci;
    ViewRecorder view;
    MoviePlayer player{mci, view};

    void Answer(const std::string& command, std::string reply, unsigned code = 0)
    {
        mci.Answers[command] = {code, reply};
    }
    // Opens a.avi (20 frames, 320 x 240) and forgets the calls made so far, unless asked not to.
    void OpenA(bool forget = true)
    {
        Answer("status AVI length", "20");
        Answer("where AVI source", "0 0 320 240");
        Answer("status AVI window handle", "4660  ");
        player.OpenMovie("C:\\m\\a.avi");
        Answer("status AVI mode", "playing");
        if (forget)
            mci.Calls.clear(), view.calls.clear();
    }
};

} // namespace

TEST_F(MoviePlayerTest, OpenSizesTheWindowAndPlaysAndTheNextStopsTheFirst)
{
    OpenA();
    mci.Answers.erase("status AVI mode");
    MoviePlayer fresh{mci, view};
    fresh.OpenMovie("C:\\m\\a.avi");
    EXPECT_EQ(mci.Commands(), (Calls{"send open C:\\m\\a.avi alias AVI nostatic parent 99 style Child",
                                     "exec put AVI destination", "exec window AVI state show", "exec play AVI"}));
    EXPECT_EQ(view.calls, (Calls{"load", "max 20", "pos 0", "speed 100％", "title BriskReeler - a.avi",
                                 "outer 327x331", "video 4660 320x240", "bar off", "停止", "show"}));

    OpenA();
    ASSERT_TRUE(player.IsOpen() && player.Playing());
    player.OpenMovie("C:\\m\\nothing.avi");
    player.OpenMovie("");
    EXPECT_EQ(mci.Commands(), Calls{}) << "missing files leave the playing one alone";
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

// A command's failure box lets messages run: a movie handed over meanwhile has the device from then on.
TEST_F(MoviePlayerTest, AMovieOpenedWhileABoxIsUpKeepsTheDevice)
{
    bool once = false;
    mci.AfterExecute = [&](std::string_view c) {
        if (c == "put AVI destination" && !std::exchange(once, true))
            player.OpenMovie("C:\\m\\b c.avi");
    };
    OpenA(false);
    const Calls c = mci.Commands();
    EXPECT_EQ(Calls(c.begin() + 1, c.end()),
              (Calls{"exec put AVI destination", "send Stop AVI", "exec Close AVI",
                     "send open C:\\m\\BC~1.AVI alias AVI nostatic parent 99 style Child", "exec put AVI destination",
                     "exec window AVI state show", "exec play AVI"}));
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "show"), 1);
}

// Stopping shows 再生 first: the pump between may let the user act, and what he does wins.
TEST_F(MoviePlayerTest, StopLeavesTheBarAtTheFrameReachedUnlessClosedMeanwhile)
{
    OpenA();
    Answer("status AVI position", "7");
    player.PlayStop();
    EXPECT_EQ(mci.Commands(), (Calls{"send stop AVI", "exec seek AVI to 7"}));
    EXPECT_EQ(view.calls, (Calls{"再生", "pump", "pos 7", "bar on"}));

    OpenA();
    Answer("status AVI position", "7");
    view.onPump = [&] { player.CloseMovie(); };
    player.PlayStop();
    EXPECT_EQ(mci.Commands(), (Calls{"send stop AVI", "send Stop AVI", "exec Close AVI"}));
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "pos 7"), 0);
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
        std::copy_if(mci.Calls.begin(), mci.Calls.end(), std::back_inserter(reports),
                     [](const std::string& c) { return c.rfind("report", 0) == 0; });
        EXPECT_EQ(reports, r.reports) << r.code << " " << r.modeAfter;
        player.CloseMovie();
        mci.Answers.clear();
    }
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

TEST(MovieRules, FieldsAndFileNames)
{
    const std::vector<std::tuple<const char*, int, const char*, const char*>> fields = {
        {"0 0 320 240", 3, " ", "320"}, {"0 0 320 240", 4, " ", "240"}, {"0 0 320 240", 5, " ", ""},
        {"0 0 320 240", 0, " ", ""},    {"a||b", 2, "|", ""},           {"a||b", 3, "|", "b"},
        {"a, b, c", 2, ", ", "b"},      {"abc", 1, " ", "abc"},         {"", 1, " ", ""}};
    for (const auto& [text, n, delimiter, want] : fields)
        EXPECT_EQ(GetField(text, n, delimiter), want) << text << " " << n;

    // "表" ends in the byte of a backslash; it is no separator.
    const std::vector<std::pair<const char*, const char*>> names = {
        {"C:\\m\\a b.avi", "a b.avi"}, {"a.avi", ""}, {"C:\\m\\", ""}, {"C:\\表.avi", "表.avi"}, {"表.avi", ""}};
    for (const auto& [path, want] : names)
        EXPECT_EQ(FileNameOf(path), want) << path;
}

TEST(MovieRules, SizesAndOpenTargets)
{
    // Top-down frames report a negative height.
    for (const auto& [reply, w, h] : std::vector<std::tuple<const char*, int, int>>{
             {"0 0 320 240", 327, 331}, {"0 0 160 -120", 167, 211}, {"", 7, 91}}) {
        const FrameSize s = MovieWindowSize(ParseSourceRect(reply));
        EXPECT_EQ(std::make_tuple(s.Width, s.Height), std::make_tuple(w, h)) << reply;
    }
    // Without a short form a path with a blank is quoted.
    EXPECT_EQ((Calls{OpenTarget("C:\\a.avi", ""), OpenTarget("C:\\a b.avi", "C:\\AB~1.AVI"),
                     OpenTarget("C:\\a b.avi", ""), OpenTarget("C:\\a b.avi", "C:\\a b.avi")}),
              (Calls{"C:\\a.avi", "C:\\AB~1.AVI", "\"C:\\a b.avi\"", "\"C:\\a b.avi\""}));
    EXPECT_EQ(SpeedCaption(1000) + SpeedCaption(2500), "100％250％");
}

// Handles have 32 significant bits; a pointer-sized one is their sign
// extension, whichever way the reply writes them. Built for each pointer size.
TEST(MovieRules, WindowHandleRepliesAreSignExtendedToThisPointerSize)
{
    const auto all = ~std::uintptr_t{0};
    const std::uintptr_t high = sizeof(void*) == 8 ? all << 32 : 0; // the extension bits
    const std::vector<std::pair<const char*, std::uintptr_t>> rows = {
        {"4660  ", 4660},
        {"2147483647", 0x7FFFFFFF},
        {"4294967295", high | 0xFFFFFFFF},
        {"-1", all},
        {"2147483648", high | 0x80000000},
        {"-2147483648", high | 0x80000000},
        {"4294967296", 0}, // wider than a handle: no window
        {"", 0},
        {"window", 0},
    };
    for (const auto& [reply, want] : rows)
        EXPECT_EQ(WindowHandleOfReply(reply), want) << "reply \"" << reply << "\"";
    EXPECT_EQ(OpenCommand("a.avi", all), "open a.avi alias AVI nostatic parent " + std::to_string(all) + " style Child");
}

TEST(MovieRules, PositionBarScale)
{
    // length, bar max, frame -> bar, bar -> frame. Short movies map frame to bar one to one (the end seeks
    // to the last frame); long ones are scaled onto 0..32767.
    const std::vector<std::array<int, 6>> rows = {{20, 20, 7, 7, 20, 19},
                                                  {20, 20, 25, 20, 0, 0},
                                                  {0, 0, 5, 0, 3, 0},
                                                  {100000, 32767, 50000, 16384, 32767, 99999},
                                                  {100000, 32767, 100000, 32767, 16384, 50002}};
    for (const auto& [length, max, frame, bar, barBack, frameBack] : rows) {
        const PositionScale s{length};
        EXPECT_EQ((std::array{s.BarMax(), s.ToBar(frame), int(s.ToFrame(barBack))}), (std::array{max, bar, frameBack}))
            << length << " " << frame;
    }
    EXPECT_EQ((std::array{AtEnd(19, 20), AtEnd(20, 20), AtEnd(18, 20), AtEnd(0, 0)}),
              (std::array{true, true, false, false}));
}

TEST(MovieRules, LayoutFollowsTheClientArea)
{
    const MovieLayout l = LayoutMovie(320, 285);
    const std::vector<int> got = {l.PicAvi.Top,   l.PicAvi.Width, l.PicAvi.Height,  l.SclPos.Left, l.SclPos.Top,
                                  l.SclPos.Width, l.LaRader.Top,  l.SpScroll.Width, l.LineEnd};
    EXPECT_EQ(got, (std::vector<int>{24, 320, 240, 80, 268, 240, 270, 228, 320}));
    EXPECT_EQ(LayoutMovie(10, 20).PicAvi.Height, 0);
}
