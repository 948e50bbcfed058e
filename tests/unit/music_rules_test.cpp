#include <gtest/gtest.h>

#include <array>

#include "music/midi_ports.h"
#include "music/music_rules.h"
#include "music/tag_rules.h"

using namespace lt;

TEST(MusicRules, ModeAnswersTimesAndPaths)
{
    const std::vector<std::pair<const char*, int>> modes = {{"playing", 1}, {"stopped", 0},    {"paused", 2},
                                                            {"", -1},       {"  ", -1},        {"not ready", 0},
                                                            {"seeking", 0}, {"playing\0x", 1}, {"pause", 0}};
    for (const auto& [answer, mode] : modes)
        EXPECT_EQ(ModeFromAnswer(answer), mode) << '"' << answer << '"';
    EXPECT_EQ(std::make_tuple(SecondsFromAnswer("75999"), SecondsFromAnswer("")), std::make_tuple(75, 0));
    EXPECT_EQ(FormatPlayTime(125) + FormatPlayTime(6000) + FormatPlayTime(0) + FormatPlayTime(59),
              "02：05100：0000：0000：59");

    EXPECT_EQ(MciPathArgument("C:\\My Music\\a.wav", "C:\\MYMUSI~1\\a.wav"), "C:\\MYMUSI~1\\a.wav");
    EXPECT_EQ(MciPathArgument("C:\\My Music\\a.wav", ""), "\"C:\\My Music\\a.wav\"");
    EXPECT_EQ(MciPathArgument("C:\\My Music\\a.wav", "C:\\My Music\\a.wav"), "\"C:\\My Music\\a.wav\"")
        << "short names switched off: the long path comes back";
    // The trail bytes of ソ, 表 and 能 are 0x5C, the backslash.
    for (const auto& [title, path, shown] :
         std::vector<std::array<std::string, 3>>{{"No Title", "C:\\曲\\ソング.mp3", "ソング.mp3"},
                                                 {"No Title", "D:\\表.wav", "表.wav"},
                                                 {"No Title", "能.mid", "能.mid"},
                                                 {"Song", "C:\\能.mid", "Song"}})
        EXPECT_EQ(PlayerTitle(title, path), shown) << path;
}

namespace {
// MThd header (14 bytes) and an MTrk header whose length is trackLength, then the events.
std::vector<std::uint8_t> Midi(std::uint32_t trackLength, std::vector<std::uint8_t> events)
{
    std::vector<std::uint8_t> f = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8)
        f.push_back(static_cast<std::uint8_t>(trackLength >> shift));
    f.insert(f.end(), events.begin(), events.end());
    return f;
}
} // namespace

TEST(MusicRules, MidiTitles)
{
    const std::vector<std::uint8_t> name = {0x00, 0xFF, 0x03, 7, ' ', 'S', 'o', 'n', 'g', ' ', 0, 0, 0xFF, 0x2F, 0};
    const std::vector<std::uint8_t> text = {0x00, 0xFF, 0x01, 4, 0x93, 0xFA, 0x96, 0x7B, 0x00, 0xFF, 0x2F, 0};
    // The scan runs from the start of the file to the track length - 2.
    EXPECT_EQ(MidiTitle(Midi(40, name)), "Song");
    EXPECT_EQ(MidiTitle(Midi(40, text)), "日本");
    EXPECT_EQ(MidiTitle(Midi(15, name)), "No Title") << "name after the scanned range";
    EXPECT_EQ(MidiTitle(Midi(40, {0x00, 0xFF, 0x03, 0, 0x00, 0xFF, 0x01, 2, 'a', 'b'})), "No Title") << "length 0";
    EXPECT_EQ(MidiTitle(Midi(40, {0x00, 0xFF, 0x03, 3, ' ', ' ', ' ', 0})), "No Title") << "blank";
    EXPECT_EQ(MidiTitle(Midi(40, {0x00, 0xFF, 0x2F, 0})), "No Title") << "no name event";
    // Past the end of the file: a length that points beyond it, a name
    // longer than what is left, a file shorter than its headers.
    EXPECT_EQ(MidiTitle(Midi(0x7FFFFFFF, {0x00, 0xFF, 0x03, 200, 'A', 'B'})), "AB");
    EXPECT_EQ(MidiTitle(Midi(0xFFFFFFFF, {0x00, 0xFF})), "No Title");
    EXPECT_EQ(MidiTitle(std::vector<std::uint8_t>(21, 0)), "No Title");
    EXPECT_EQ(MidiTitle({}), "No Title");
}

TEST(MidiTable, DefaultFirstThenSortedNamesNumberedByPlace)
{
    const auto t = BuildMidiTable({"Synth C", "Alpha Port", "MPU-401"});
    EXPECT_EQ(t.Count, 3);
    const char* names[] = {"Default MidiOut Device", "Alpha Port", "MPU-401", "Synth C"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.Records[i].Name + " " + std::to_string(t.Records[i].Port),
                  std::string(names[i]) + " " + std::to_string(i ? i : -1));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(t.Records[i].Usable, i < 4) << i;
    EXPECT_EQ(BuildMidiTable(std::vector<std::string>(25, "x")).Count, 20);
    EXPECT_EQ(BuildMidiTable({}).Count, 0);
}

TEST(TagRules, YearFieldsAndPadding)
{
    const std::vector<std::pair<const char*, const char*>> years = {
        {"98abc", "98   "}, {"", "0    "}, {"abc", "0    "}, {"2001", "2001 "}, {"1234567", "12345"}, {" -5", "-5   "}};
    for (const auto& [typed, stored] : years)
        EXPECT_EQ(YearField(typed), stored) << "typed '" << typed << "'";
    // A double-byte character that would straddle the end is left out whole.
    const std::vector<std::pair<const char*, const char*>> pads = {
        {"ab", "ab  "}, {"abcdef", "abcd"}, {"abc\x82\xa0", "abc "}, {"ab\x82\xa0", "ab\x82\xa0"}};
    for (const auto& [text, padded] : pads)
        EXPECT_EQ(PadField(text, 4), padded) << text;

    Ltmp3TagInfo tag{};
    tag.Genre = 17;
    FillTag(tag, "Song", std::string(200, 'x'), "", "98abc", "note");
    EXPECT_EQ(std::string(tag.Title, 128), "Song" + std::string(124, ' '));
    EXPECT_EQ(std::string(tag.Artist, 128) + std::string(tag.Album, 128),
              std::string(128, 'x') + std::string(128, ' '));
    EXPECT_EQ(std::string(tag.Year, 5) + std::string(tag.Comment, 5), "98   note ");
    EXPECT_EQ(tag.Genre, 17);
    EXPECT_EQ(FieldText(tag.Year), "98   ");
}

TEST(TagRules, InfoLines)
{
    Ltmp3MpegInfo info{};
    info.Version = 1, info.Layer = 3, info.BitRate = 128, info.SampleRate = 44100;
    info.Channels = 1, info.Copyright = 1, info.Emphasis = 2;
    const auto lines = MpegInfoLines(info);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0].Text, "MPEG-1 レイヤー 3");
    EXPECT_EQ(lines[3].Text, "出力ﾁｬﾝﾈﾙ ﾓﾉﾗﾙ");
    EXPECT_EQ(lines[7].Y, 106);
    EXPECT_EQ(lines[7].Text, "著作権 有り");
    EXPECT_EQ(lines[11].Text, "ｴﾝﾌｧｼｽ 無し"); // only 1 counts as set
    info.Channels = 2;
    EXPECT_EQ(MpegInfoLines(info)[3].Text, "出力ﾁｬﾝﾈﾙ ｽﾃﾚｵ");
}
