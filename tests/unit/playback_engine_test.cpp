#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "music/playback_engine.h"

using namespace lt;
using Calls = std::vector<std::string>;

namespace {

// Records every platform call as one line, in order; status queries answer from a table.
struct Recorder final : MciPort, Mp3Port, SystemPort, PlayerHooks {
    Calls calls;
    std::map<std::string, std::string> answers;
    std::set<std::string> failing;    // commands mciExecute fails (with its box)
    std::function<void()> duringPump; // once, inside the next pump
    std::uint32_t openResult = 0;
    int mp3State = 0, nextEntry = 0;
    std::string shortName;

    void Log(const std::string& s) { calls.push_back(s); }
    static std::string N(int n) { return std::to_string(n); }
    Calls Take() { return std::exchange(calls, {}); }

    std::uint32_t SendString(const std::string& c, std::string* answer, int size) override
    {
        Log("send " + c + (size ? " [" + N(size) + "]" : ""));
        if (answer)
            *answer = answers.count(c) ? answers[c] : "";
        return c.rfind("Open ", 0) == 0 ? openResult : 0;
    }
    bool Execute(const std::string& c) override { return Log("exec " + c), !failing.count(c); }
    std::string ErrorText(std::uint32_t) override { return "no such device  "; }

    std::int32_t Open(const std::string& p, Ltmp3InputInfo& info) override
    {
        Log("mp3 open " + p);
        return std::strcpy(info.Artist, "A"), info.PlayTime = 200, 1;
    }
    std::int32_t Play() override { return Log("mp3 play"), 1; }
    void Stop() override { Log("mp3 stop"); }
    void Pause() override { Log("mp3 pause"); }
    std::int32_t Restart() override { return Log("mp3 restart"), 1; }
    void Seek(std::int32_t s) override { Log("mp3 seek " + N(s)); }
    std::int32_t GetState(std::int32_t& position) override { return position = 0, mp3State; }
    void SetVolume(std::int32_t l, std::int32_t r) override { Log("mp3 volume " + N(l) + " " + N(r)); }
    void Close() override { Log("mp3 close"); }
    std::int32_t GetMpegInfo(Ltmp3MpegInfo&) override { return 0; }

    bool FileExists(const std::string& p) override { return !p.empty() && p != "missing"; }
    std::string ShortPath(const std::string&) override { return shortName; }
    std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string&) override { return {}; }
    void ShowMessage(const std::string& t) override { Log("message " + t); }
    void SetMidiOutVolume(std::uint32_t w) override
    {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(w));
        Log(std::string("midi volume ") + hex);
    }
    bool PumpEvents() override
    {
        Log("pump");
        if (auto f = std::exchange(duringPump, nullptr))
            f();
        return true;
    }
    void SetMusicTimer(bool on) override { Log(on ? "timer on" : "timer off"); }
    int NextMusicEntry() override { return Log("next"), nextEntry; }
    void ActivateEntry(int i) override { Log("activate " + N(i)); }
};

struct EngineTest : ::testing::Test {
    Recorder r;
    Settings settings;
    MidiDeviceTable table = BuildMidiTable({"Alpha", "Beta", "Gamma"});
    PlaybackEngine e{r, r, r, settings};
    EngineTest() { e.SetHooks(&r), e.SetMidiTable(&table); }
    // Opens with the MCI device answering `mode`, as after the first play, then forgets the calls.
    void OpenAs(BackEnd b, const std::string& mode = "stopped")
    {
        r.shortName = "C:\\A.MID";
        r.answers["status MID mode"] = r.answers["status WAV mode"] = mode;
        ASSERT_TRUE(e.Open(b, "C:\\a file"));
        e.SetUserStopped(false);
        r.Take();
    }
};

} // namespace

TEST_F(EngineTest, OpeningMidiAppliesThePortThenMilliseconds)
{
    settings.MidiDevice = 2;
    r.shortName = "C:\\MYMUSI~1\\A.MID";
    r.answers["status MID tempo"] = "500000"; // microseconds per beat: kept in the player's range
    ASSERT_TRUE(e.Open(BackEnd::Midi, "C:\\My Music\\a.mid"));
    EXPECT_EQ(r.Take(), (Calls{"send Open C:\\MYMUSI~1\\A.MID alias MID Type Sequencer", "pump",
                               "send status MID mode [1024]", "exec set MID Port 2", "pump", "pump", "pump",
                               "exec set MID time format milliseconds", "send status MID tempo [15]"}));
    EXPECT_EQ(e.FileTempo(), 300);
    EXPECT_TRUE(e.IsOpen());
}

// One fault, one box: a failed open is closed quietly, and once a command of
// a device has failed in its box the rest go quietly until the next open.
TEST_F(EngineTest, OneFaultGivesOneBox)
{
    r.answers["status WAV mode"] = "stopped";
    ASSERT_TRUE(e.Open(BackEnd::Wave, "C:\\My Music\\a.wav"));
    EXPECT_EQ(r.Take(), Calls{"send Open \"C:\\My Music\\a.wav\" alias WAV Type Waveaudio"});
    e.CloseMusic();
    r.Take();
    PlaybackEngine::OpenResult why{};
    EXPECT_FALSE(e.Open(BackEnd::Wave, "missing", &why) || e.Open(BackEnd::Wave, ""));
    EXPECT_EQ(why, PlaybackEngine::OpenResult::Failed);
    EXPECT_TRUE(r.Take().empty());
    r.openResult = 263; // 36 bytes of header and no data
    EXPECT_FALSE(e.Open(BackEnd::Wave, "C:\\b.wav", &why));
    e.CloseMusic();
    EXPECT_EQ(why, PlaybackEngine::OpenResult::Reported);
    EXPECT_EQ(r.Take(), (Calls{"send Open \"C:\\b.wav\" alias WAV Type Waveaudio", "send Close WAV",
                               "message no such device", "timer off"}));

    r.openResult = 0;
    r.failing = {"set MID Port mapper", "Play MID"}; // no synthesiser
    r.answers["status MID mode"] = "stopped";
    const auto boxes = [&] {
        const Calls c = r.Take();
        return std::count_if(c.begin(), c.end(), [](const std::string& l) { return l.rfind("exec", 0) == 0; });
    };
    for (int round : {1, 2}) {
        ASSERT_TRUE(e.Open(BackEnd::Midi, "C:\\a.mid"));
        e.PlayMusic();
        e.SetMidiTempo(90);
        EXPECT_EQ(boxes(), 1) << "round " << round << ": the port's box alone, for each device opened";
        e.CloseMusic();
    }
}

// A second open inside the pump of the port switch (the queue timer, Next,
// a drop) takes over; the first stops at its next step.
TEST_F(EngineTest, AnOpenDuringThePortSwitchTakesOver)
{
    settings.MidiDevice = 2;
    r.duringPump = [&] {
        e.CloseMusic();
        e.Open(BackEnd::Mp3, "b.mp3");
        e.PlayMusic();
    };
    PlaybackEngine::OpenResult why{};
    EXPECT_FALSE(e.Open(BackEnd::Midi, "a.mid", &why));
    EXPECT_EQ(why, PlaybackEngine::OpenResult::Superseded);
    Calls c = r.Take();
    EXPECT_EQ(Calls(c.end() - 3, c.end()), (Calls{"mp3 open b.mp3", "mp3 play", "timer on"})) << "nothing after";
    EXPECT_EQ(std::make_tuple(e.IsOpen(), e.CurrentBackEnd(), e.KnownState()), std::make_tuple(true, BackEnd::Mp3, 1));
    r.mp3State = 1;
    e.StopMusic();
    EXPECT_EQ(r.Take(), (Calls{"mp3 pause", "timer off"})) << "stop reaches the piece that plays";
}

TEST_F(EngineTest, PlayRewindsOnlyAtTheEndAndNeverTwice)
{
    OpenAs(BackEnd::Wave);
    r.answers["status WAV length"] = "5400";
    r.answers["status WAV position"] = "5000";
    EXPECT_TRUE(e.PlayMusic());
    EXPECT_EQ(r.Take(), (Calls{"send status WAV mode [1024]", "send status WAV length [15]",
                               "send status WAV position [15]", "send seek WAV to 0", "exec Play WAV", "timer on"}));
    r.answers["status WAV position"] = "3000";
    e.PlayMusic();
    EXPECT_EQ(r.Take()[3], "exec Play WAV") << "halted mid-way: continues";
    r.answers["status WAV mode"] = "playing";
    EXPECT_FALSE(e.PlayMusic());
    EXPECT_EQ(r.Take(), Calls{"send status WAV mode [1024]"});
    r.answers["status WAV mode"] = "paused";
    EXPECT_TRUE(e.PlayMusic());
    EXPECT_EQ(r.Take(), (Calls{"send status WAV mode [1024]", "exec resume WAV", "timer on"}));
}

TEST_F(EngineTest, SeekCommands)
{
    OpenAs(BackEnd::Midi, "playing");
    e.SeekMusic("start");
    Calls c = r.Take();
    c.resize(3); // then PlayMusic, which finds it playing
    EXPECT_EQ(c, (Calls{"send status MID mode [1024]", "send seek MID to start", "send status MID mode [1024]"}));
    OpenAs(BackEnd::Wave, "stopped");
    e.SeekMusic("12");
    EXPECT_EQ(r.Take(), (Calls{"send status WAV mode [1024]", "send seek WAV to 12000"}));
    OpenAs(BackEnd::Mp3);
    e.SeekMusic("12");
    e.SeekMusic("START");
    EXPECT_EQ(r.Take(), (Calls{"mp3 seek 12", "mp3 seek 0"}));
}

TEST_F(EngineTest, StopPauseCloseByState)
{
    OpenAs(BackEnd::Mp3);
    r.mp3State = 1;
    e.StopMusic();
    EXPECT_EQ(r.Take(), (Calls{"mp3 pause", "timer off"})) << "MP3 stop keeps the position";
    EXPECT_TRUE(e.UserStopped());
    e.CloseMusic();
    EXPECT_EQ(r.Take(), (Calls{"mp3 stop", "mp3 close", "timer off"}));

    OpenAs(BackEnd::Midi, "paused");
    e.PauseMusic();
    e.CloseMusic();
    EXPECT_EQ(r.Take(), (Calls{"send status MID mode [1024]", "send status MID mode [1024]", "exec Stop MID",
                               "exec Close MID", "timer off"}));
    EXPECT_FALSE(e.IsOpen());
    e.CloseMusic();
    EXPECT_TRUE(r.Take().empty()) << "closed twice: nothing sent";

    OpenAs(BackEnd::Wave, "");
    e.CloseMusic();
    EXPECT_TRUE(e.IsOpen()) << "no mode answer: the device is left open";
}

TEST_F(EngineTest, VolumeTempoAndTitles)
{
    e.SetMusicVolume(40);
    EXPECT_TRUE(r.Take().empty()) << "nothing open";
    EXPECT_EQ(settings.Volume, 100);
    OpenAs(BackEnd::Midi);
    e.SetMusicVolume(50);
    e.SetMusicVolume(100);
    e.ChangeMidiTempo(90);
    EXPECT_EQ(r.Take(), (Calls{"midi volume 7FFF7FFF", "mp3 volume 50 50", "midi volume FFFFFFFF", "mp3 volume 100 100",
                               "exec set MID tempo 90"}));
    EXPECT_EQ(e.LastTempoSent(), 90);
    OpenAs(BackEnd::Mp3);
    e.ChangeMidiTempo(50);
    EXPECT_TRUE(r.Take().empty()) << "tempo only for MIDI";
    EXPECT_EQ(e.GetMusicTitle("x"), "A") << "artist only";
    EXPECT_EQ(e.GetMusicLength(), 200);
    e.SetMusicVolume(30);
    EXPECT_EQ(settings.Volume, 30);
}

TEST_F(EngineTest, EndOfTrack)
{
    // Wave: after five changes of the second.
    OpenAs(BackEnd::Wave);
    r.nextEntry = 4;
    WaveEndCounter counter;
    for (int s : {10, 10, 11, 12, 12, 13, 14})
        EXPECT_FALSE(e.CheckEndOfTrack(counter, s));
    EXPECT_EQ(counter.Count, 5);
    r.Take();
    EXPECT_TRUE(e.CheckEndOfTrack(counter, 14));
    Calls c = r.Take();
    EXPECT_EQ(Calls(c.begin() + 1, c.begin() + 3), (Calls{"pump", "next"}));
    EXPECT_EQ(c.back(), "activate 4");

    // Only when stopped, open and not stopped by the user.
    OpenAs(BackEnd::Midi, "playing");
    EXPECT_FALSE(e.CheckEndOfTrack(counter, 0));
    r.answers["status MID mode"] = "stopped";
    e.SetUserStopped(true);
    EXPECT_FALSE(e.CheckEndOfTrack(counter, 0));
    e.SetUserStopped(false);
    r.nextEntry = 0;
    EXPECT_FALSE(e.CheckEndOfTrack(counter, 0)) << "no next piece: stays";
    EXPECT_TRUE(e.IsOpen());
    r.nextEntry = 2;
    r.Take();
    EXPECT_TRUE(e.CheckEndOfTrack(counter, 0)) << "MIDI needs no second changes";
    EXPECT_EQ(r.Take(), (Calls{"send status MID mode [1024]", "pump", "next", "send status MID mode [1024]",
                               "exec Close MID", "timer off", "activate 2"}));
}

TEST_F(EngineTest, PortChangeWhilePlaying)
{
    OpenAs(BackEnd::Midi, "playing");
    settings.MidiDevice = 3;
    settings.ErrorWait = 2;
    e.ApplyMidiPort();
    Calls c = r.Take();
    c.resize(9);
    EXPECT_EQ(c, (Calls{"pump", "send status MID mode [1024]", "send status MID mode [1024]", "exec Stop MID",
                        "timer off", "exec set MID Port 3", "pump", "pump", "send status MID mode [1024]"}))
        << "stopped, switched, waited, then played again";
    settings.MidiDevice = -1;
    e.ApplyMidiPort();
    c = r.Take();
    EXPECT_EQ(c.back(), "exec set MID Port mapper") << "left stopped on the mapper";
    EXPECT_EQ(std::count(c.begin(), c.end(), "exec Play MID"), 0);
}
