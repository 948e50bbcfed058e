#include "music/player_rules.h"

#include <gtest/gtest.h>

#include <array>

using namespace lt;

TEST(PlayerHitTest, TableOrderAndMidiOnlyRegions)
{
    using R = PlayerRegion;
    constexpr auto P = HitPhase::Press, D = HitPhase::Drag;
    // x, y, MIDI, phase -> region. Play wins the column it shares with Stop, the seek bar the row it shares
    // with the tempo bar; the tempo controls are MIDI's alone.
    const std::vector<std::tuple<int, int, bool, HitPhase, PlayerRegion>> cases = {
        {84, 100, false, P, R::Play},      {85, 100, false, P, R::Stop},     {191, 118, false, P, R::Next},
        {192, 118, false, P, R::None},     {150, 119, false, P, R::None},    {285, 20, false, P, R::Minimise},
        {286, 4, false, P, R::Close},      {302, 10, false, P, R::None},     {200, 76, true, P, R::SeekBar},
        {200, 77, true, P, R::TempoBar},   {200, 77, false, P, R::None},     {300, 93, true, P, R::TempoBar},
        {155, 80, true, P, R::TempoDown},  {155, 80, false, P, R::None},     {100, 80, true, P, R::TempoReset},
        {128, 75, true, P, R::TempoUp},    {30, 60, false, P, R::VolumeBar}, {30, 60, false, D, R::None},
        {25, 120, false, D, R::VolumeBar}, {4, 60, false, P, R::None},       {200, 30, false, P, R::None}};
    for (const auto& [x, y, midi, phase, want] : cases)
        EXPECT_EQ(HitTest(x, y, midi, phase), want) << x << "," << y << (midi ? " MIDI" : "") << int(phase);
    EXPECT_TRUE(InRegion(R::Stop, 84, 100, D));
    EXPECT_FALSE(InRegion(R::VolumeBar, 30, 10, D));
}

TEST(PlayerSliders, ThumbsAndValuesFromThePointer)
{
    // 0.5 % rounds to even 0, 1.5 % to 2.
    EXPECT_EQ((std::array{SeekThumbX(0, 0), SeekThumbX(60, 120), SeekThumbX(120, 120), SeekThumbX(1, 200),
                          SeekThumbX(3, 200), TempoThumbX(300), TempoThumbX(120)}),
              (std::array{161, 225, 290, 161, 163, 290, 212}));
    EXPECT_EQ((std::array{VolumeKnobY(0), VolumeKnobY(50), VolumeKnobY(100)}), (std::array{16, 62, 108}));
    // x -> seek position of 200, tempo; clamped at both ends.
    using Rows = std::vector<std::array<int, 3>>;
    for (const auto& [x, seek, tempo] :
         Rows{{100, 0, 3}, {161, 0, 3}, {225, 98, 147}, {290, 200, 300}, {400, 200, 300}})
        EXPECT_EQ(std::make_tuple(SeekPositionAt(x, 200), TempoAt(x)), std::make_tuple(seek, tempo)) << "x " << x;
    EXPECT_EQ(SeekPositionAt(290, 0), 0);
    EXPECT_EQ((std::array{AttenuationAt(10, HitPhase::Press), AttenuationAt(10, HitPhase::Drag),
                          AttenuationAt(62, HitPhase::Drag), AttenuationAt(200, HitPhase::Press)}),
              (std::array{0, 1, 50, 100}));
    // The tempo buttons stop at the ends.
    for (const auto& [from, down, up] : Rows{{1, 1, 11}, {11, 1, 21}, {12, 2, 22}, {295, 285, 300}, {300, 290, 300}})
        EXPECT_EQ(std::make_tuple(TempoDown(from), TempoUp(from)), std::make_tuple(down, up)) << from;
}

TEST(PlayerMarquee, PositionAndWrap)
{
    // Width of title + 7 spaces, frames drawn -> step, remainder, text x, box width. A period ends once
    // step > (w - remainder) / 3; the next starts at remainder (w - remainder) mod 3.
    using Row = std::array<int, 6>;
    for (const auto& [width, frames, step, remainder, x, box] : std::vector<Row>{{100, 0, 0, 0, 30, 312},
                                                                                 {100, 33, 33, 0, -69, 411},
                                                                                 {100, 34, 0, 1, 31, 313},
                                                                                 {100, 67, 33, 1, -68, 412},
                                                                                 {100, 68, 0, 0, 30, 312},
                                                                                 {263, 88, 0, 2, 32, 314},
                                                                                 {263, 176, 0, 0, 30, 312}}) {
        Marquee m;
        for (int i = 0; i < frames; ++i)
            m.Advance(width);
        EXPECT_EQ((Row{width, frames, m.Step, m.Remainder, m.TextX(30), m.BoxWidth()}),
                  (Row{width, frames, step, remainder, x, box}));
    }
    EXPECT_EQ(MarqueeText("ab"), "ab       ab       ");
}

TEST(PlayerPrevious, MusicEntryBeforeThePlayingOneWrapping)
{
    FileTable t;
    for (FileKind k : {FileKind::Mp3, FileKind::Wave, FileKind::Midi, FileKind::Picture, FileKind::Wave})
        t.Append("f" + std::to_string(t.Count() + 1), k);
    // playing entry -> previous: WAV and pictures are passed over; from the first it wraps to the end.
    for (const auto& [playing, previous] : std::vector<std::array<int, 2>>{{3, 1}, {1, 3}, {4, 3}, {0, 3}, {5, 3}})
        EXPECT_EQ(PreviousMusicEntry(t, playing), previous) << playing;
    FileTable one;
    one.Append("a.mid", FileKind::Midi);
    EXPECT_EQ(PreviousMusicEntry(one, 1), 1) << "the only piece is its own previous";
}

TEST(PlayerFormatLine, Texts)
{
    EXPECT_EQ(Mp3FormatLine(128, 44100, 2), "128k/s 44kHz ｽﾃﾚｵ");
    EXPECT_EQ(Mp3FormatLine(64, 22050, 1), "64k/s 22kHz ﾓﾉﾗﾙ");
    EXPECT_EQ(WaveFormatLine(22050, 8, 1), "22kHz 8ﾋﾞｯﾄ ﾓﾉﾗﾙ");
    EXPECT_EQ(WaveFormatLine(44100, 16, 2), "44kHz 16ﾋﾞｯﾄ ｽﾃﾚｵ");
    EXPECT_TRUE(TitleScrolls(263) && !TitleScrolls(262));
}
