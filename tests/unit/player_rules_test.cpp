#include "music/player_rules.h"

#include <gtest/gtest.h>

#include <array>

namespace lt {
namespace {

TEST(PlayerHitTest, TableOrderAndMidiOnlyRegions)
{
    struct Case {
        int X, Y;
        bool Midi;
        HitPhase Phase;
        PlayerRegion Want;
    } cases[] = {
        {84, 100, false, HitPhase::Press, PlayerRegion::Play}, // play wins the shared column
        {85, 100, false, HitPhase::Press, PlayerRegion::Stop},
        {191, 118, false, HitPhase::Press, PlayerRegion::Next},
        {192, 118, false, HitPhase::Press, PlayerRegion::None},
        {150, 119, false, HitPhase::Press, PlayerRegion::None},
        {285, 20, false, HitPhase::Press, PlayerRegion::Minimise},
        {286, 4, false, HitPhase::Press, PlayerRegion::Close},
        {302, 10, false, HitPhase::Press, PlayerRegion::None},
        {200, 76, true, HitPhase::Press, PlayerRegion::SeekBar}, // seek bar wins the shared row
        {200, 77, true, HitPhase::Press, PlayerRegion::TempoBar},
        {200, 77, false, HitPhase::Press, PlayerRegion::None},
        {300, 93, true, HitPhase::Press, PlayerRegion::TempoBar},
        {155, 80, true, HitPhase::Press, PlayerRegion::TempoDown}, // before the tempo bar
        {155, 80, false, HitPhase::Press, PlayerRegion::None},
        {100, 80, true, HitPhase::Press, PlayerRegion::TempoReset},
        {128, 75, true, HitPhase::Press, PlayerRegion::TempoUp},
        {30, 60, false, HitPhase::Press, PlayerRegion::VolumeBar},
        {30, 60, false, HitPhase::Drag, PlayerRegion::None},
        {25, 120, false, HitPhase::Drag, PlayerRegion::VolumeBar},
        {4, 60, false, HitPhase::Press, PlayerRegion::None},
        {200, 30, false, HitPhase::Press, PlayerRegion::None},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(HitTest(c.X, c.Y, c.Midi, c.Phase), c.Want) << "row " << i;
    }
    EXPECT_TRUE(InRegion(PlayerRegion::Stop, 84, 100, HitPhase::Drag));
    EXPECT_FALSE(InRegion(PlayerRegion::VolumeBar, 30, 10, HitPhase::Drag));
}

TEST(PlayerSliders, ThumbsFromValues)
{
    EXPECT_EQ(SeekThumbX(0, 0), 161);
    EXPECT_EQ(SeekThumbX(60, 120), 225);
    EXPECT_EQ(SeekThumbX(120, 120), 290);
    EXPECT_EQ(SeekThumbX(1, 200), 161); // 0.5 % rounds to even 0
    EXPECT_EQ(SeekThumbX(3, 200), 163); // 1.5 % rounds to 2
    EXPECT_EQ(TempoThumbX(300), 290);
    EXPECT_EQ(TempoThumbX(120), 212);
    EXPECT_EQ(VolumeKnobY(0), 16);
    EXPECT_EQ(VolumeKnobY(50), 62);
    EXPECT_EQ(VolumeKnobY(100), 108);
}

TEST(PlayerSliders, ValuesFromPointerAreClamped)
{
    struct Case {
        int X;
        std::int32_t SeekOf200;
        int Tempo;
    } cases[] = {
        {100, 0, 3}, {161, 0, 3}, {225, 98, 147}, {290, 200, 300}, {400, 200, 300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SeekPositionAt(c.X, 200), c.SeekOf200) << "x " << c.X;
        EXPECT_EQ(TempoAt(c.X), c.Tempo) << "x " << c.X;
    }
    EXPECT_EQ(SeekPositionAt(290, 0), 0);
    EXPECT_EQ(AttenuationAt(10, HitPhase::Press), 0);
    EXPECT_EQ(AttenuationAt(10, HitPhase::Drag), 1);
    EXPECT_EQ(AttenuationAt(62, HitPhase::Drag), 50);
    EXPECT_EQ(AttenuationAt(200, HitPhase::Press), 100);
}

TEST(PlayerSliders, TempoButtonsStopAtTheEnds)
{
    const std::array<int, 3> rows[] = {{1, 1, 11}, {11, 1, 21}, {12, 2, 22}, {295, 285, 300}, {300, 290, 300}};
    for (auto [from, down, up] : rows) {
        EXPECT_EQ(TempoDown(from), down) << from;
        EXPECT_EQ(TempoUp(from), up) << from;
    }
}

TEST(PlayerMarquee, MovesThreePixelsAFrameAcrossTheSeam)
{
    for (int period : {90, 100, 101, 7, 1}) {
        Marquee m;
        int expected = 0;
        // Three full periods: the offset always equals the distance scrolled,
        // modulo the period, so the look at the seam is continuous.
        for (int frame = 0; frame < 3 * period; ++frame) {
            ASSERT_EQ(m.Offset(), expected % period) << "period " << period << " frame " << frame;
            ASSERT_GE(m.Offset(), 0);
            ASSERT_LT(m.Offset(), period);
            m.Advance(period);
            expected += 3;
        }
        // 3 x period pixels is a whole number of periods: back to the start.
        EXPECT_EQ(m.Step, 0) << "period " << period;
        EXPECT_EQ(m.Remainder, 0) << "period " << period;
    }
    EXPECT_EQ(Marquee{}.TextX(30), 30);
    EXPECT_EQ(MarqueeText("ab"), "ab       ab       ");
}

TEST(PlayerFormatLine, Texts)
{
    EXPECT_EQ(Mp3FormatLine(128, 44100, 2), "128k/s 44kHz ｽﾃﾚｵ");
    EXPECT_EQ(Mp3FormatLine(64, 22050, 1), "64k/s 22kHz ﾓﾉﾗﾙ");
    EXPECT_EQ(WaveFormatLine(22050, 8, 1), "22kHz 8ﾋﾞｯﾄ ﾓﾉﾗﾙ");
    EXPECT_EQ(WaveFormatLine(44100, 16, 2), "44kHz 16ﾋﾞｯﾄ ｽﾃﾚｵ");
    EXPECT_TRUE(TitleScrolls(263));
    EXPECT_FALSE(TitleScrolls(262));
}

} // namespace
} // namespace lt
