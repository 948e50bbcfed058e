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
    void SetSpeedCaption(int speed) override { Note("speed " + SpeedCaption(speed)); }
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
                                     "exec put AVI destination", "exec play AVI"}));
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
               "exec put AVI destination", "exec set AVI speed 2000", "exec play AVI"}));
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
                     "exec play AVI"}));
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "show"), 1);
}

// Each control from a movie playing (20 frames): what it sends and shows.
// Stopping shows 再生 before the pump: the user may act meanwhile, and what he does wins.
TEST_F(MoviePlayerTest, EachControlSendsItsCommands)
{
    const auto stopAt = [&](const char* frame) {
        Answer("status AVI position", frame);
        player.PlayStop();
        Answer("status AVI mode", "stopped");
    };
    struct Row {
        const char* label;
        std::function<void()> before, act;
        Calls commands, shown;
    };
    const std::vector<Row> rows = {
        {"stop", [] {}, [&] { stopAt("7"); }, {"send stop AVI", "exec seek AVI to 7"}, {"再生", "pump", "pos 7", "bar on"}},
        {"play from the last frame restarts", [&] { stopAt("7"); }, [&] { Answer("status AVI position", "19"), player.PlayStop(); },
         {"exec seek AVI to start", "exec play AVI"}, {"bar off", "停止"}},
        {"stop at the end, unnoticed, restarts", [] {}, [&] { stopAt("19"); },
         {"exec seek AVI to start", "exec play AVI"}, {"再生", "pump", "bar off", "停止"}},
        {"rewind", [&] { stopAt("7"); }, [&] { player.Rewind(); },
         {"exec seek AVI to start", "send stop AVI", "exec seek AVI to 0"}, {"再生", "pos 0", "bar on"}},
        {"end seen: the bar's end is the last frame", [&] { Answer("status AVI mode", "stopped"); },
         [&] { player.Tick(); }, {"exec seek AVI to 19"}, {"再生", "pos 20", "bar on"}},
        {"bar moved while stopped", [&] { stopAt("7"); }, [&] { player.PositionMoved(12); },
         {"exec seek AVI to 12"}, {}},
        {"same movie again, stopped: replays and shows it", [&] { stopAt("7"); },
         [&] { player.OpenMovie("C:\\m\\a.avi"); },
         {"exec Seek AVI to start", "exec set AVI speed 1000", "exec play AVI"}, {"bar off", "停止"}},
        {"speed preset, twice, and one past the last", [] {},
         [&] { player.ChooseSpeed(2), player.ChooseSpeed(2), player.ChooseSpeed(7); }, {"exec set AVI speed 2000"},
         {"meter 200", "speed 200％"}},
        {"resize", [] {}, [&] { player.Resized(200, 150); },
         {"exec put AVI destination", "exec window AVI state show"}, {"video 4660 200x150"}},
        {"close", [] {}, [&] { player.CloseMovie(); }, {"send Stop AVI", "exec Close AVI"}, {"再生"}},
    };
    for (const Row& r : rows) {
        OpenA();
        r.before();
        mci.Calls.clear(), view.calls.clear();
        r.act();
        EXPECT_EQ(mci.Commands(), r.commands) << r.label;
        EXPECT_EQ(view.calls, r.shown) << r.label;
        player.CloseMovie();
        mci.Answers.clear();
    }

    OpenA();
    Answer("status AVI position", "7");
    view.onPump = [&] { player.CloseMovie(); };
    player.PlayStop();
    EXPECT_EQ(mci.Commands(), (Calls{"send stop AVI", "send Stop AVI", "exec Close AVI"})) << "closed in the pump";
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

TEST_F(MoviePlayerTest, SpeedMeterWithNothingOpenOnlyMoves)
{
    player.ChooseSpeed(4);
    player.SpeedMeterMoved(250);
    EXPECT_EQ(player.Speed(), 1000);
    EXPECT_EQ(view.calls, Calls{"meter 500"});
    EXPECT_EQ(mci.Calls, Calls{});
}

TEST(MovieRules, FieldsAndFileNames)
{
    const std::vector<std::tuple<const char*, int, const char*, const char*>> fields = {
        {"0 0 320 240", 3, " ", "320"}, {"0 0 320 240", 4, " ", "240"}, {"0 0 320 240", 5, " ", ""},
        {"0 0 320 240", 0, " ", ""},    {"a||b", 2, "|", ""},           {"a, b, c", 2, ", ", "b"}};
    for (const auto& [text, n, delimiter, want] : fields)
        EXPECT_EQ(GetField(text, n, delimiter), want) << text << " " << n;

    // "表" ends in the byte of a backslash; it is no separator.
    const std::vector<std::pair<const char*, const char*>> names = {
        {"C:\\m\\a b.avi", "a b.avi"}, {"a.avi", ""}, {"C:\\表.avi", "表.avi"}};
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
    struct Row {
        const char* label;
        int length, max, frame, bar, barBack, frameBack;
    };
    for (const Row& r : {Row{"short: the bar is the frame", 20, 20, 7, 7, 12, 12},
                         Row{"the bar's end seeks to the last frame", 20, 20, 25, 20, 20, 19},
                         Row{"no length", 0, 0, 5, 0, 3, 0},
                         Row{"long: scaled onto 16 bits", 100000, 32767, 50000, 16384, 32767, 99999},
                         Row{"long, the middle", 100000, 32767, 100000, 32767, 16384, 50002}}) {
        const PositionScale s{r.length};
        EXPECT_EQ((std::array{s.BarMax(), s.ToBar(r.frame), int(s.ToFrame(r.barBack))}),
                  (std::array{r.max, r.bar, r.frameBack}))
            << r.label;
    }
    // One platform stops at the last frame, another at the length.
    EXPECT_EQ((std::array{AtEnd(19, 20), AtEnd(20, 20), AtEnd(18, 20), AtEnd(0, 0)}),
              (std::array{true, true, false, false}));
}

// The keys' effects are checked in the real window; here the edges: digits past the five presets and keys
// without a command do nothing, the numeric pad's digits choose too, and a short bar still steps.
TEST(MovieRules, KeyEdges)
{
    const std::vector<std::pair<int, MovieKeyCommand>> rows = {
        {'5', {MovieKey::Preset, 4}}, {99, {MovieKey::Preset, 2}}, {'6', {}}, {'0', {}}, {102, {}}, {35, {}}};
    for (const auto& [key, want] : rows)
        EXPECT_TRUE(MovieKeyFor(key) == want) << "key " << key;
    EXPECT_EQ((std::array{PositionKeyStep(40), PositionKeyStep(9), PositionKeyStep(0)}), (std::array{4, 1, 1}));
}

TEST(MovieRules, LayoutFollowsTheClientArea)
{
    const MovieLayout l = LayoutMovie(320, 285);
    const std::vector<int> got = {l.PicAvi.Top,   l.PicAvi.Width, l.PicAvi.Height,  l.SclPos.Left, l.SclPos.Top,
                                  l.SclPos.Width, l.LaRader.Top,  l.SpScroll.Width, l.LineEnd};
    EXPECT_EQ(got, (std::vector<int>{24, 320, 240, 80, 268, 240, 270, 228, 320}));
    EXPECT_EQ(LayoutMovie(10, 20).PicAvi.Height, 0);
}
