#include <gtest/gtest.h>

#include <vector>

#include "music/midi_ports.h"
#include "music/music_rules.h"

using namespace lt;

TEST(MusicRules, ModeAnswers)
{
    struct Row {
        const char* Answer;
        int Mode;
    } rows[] = {{"playing", 1},   {"stopped", 0}, {"paused", 2},     {"", -1},    {"  ", -1},
                {"not ready", 0}, {"seeking", 0}, {"playing\0x", 1}, {"pause", 0}};
    for (const Row& r : rows)
        EXPECT_EQ(ModeFromAnswer(r.Answer), r.Mode) << '"' << r.Answer << '"';
    EXPECT_EQ(SecondsFromAnswer("75999"), 75);
    EXPECT_EQ(SecondsFromAnswer(""), 0);
}

TEST(MusicRules, PlayTimeTexts)
{
    EXPECT_EQ(FormatPlayTime(125), "02：05");
    EXPECT_EQ(FormatPlayTime(6000), "100：00");
    EXPECT_EQ(FormatPlayTime(0), "00：00");
    EXPECT_EQ(FormatPlayTime(59), "00：59");
}

TEST(MusicRules, PathsForMci)
{
    EXPECT_EQ(MciPathArgument("C:\\My Music\\a.wav", "C:\\MYMUSI~1\\a.wav"), "C:\\MYMUSI~1\\a.wav");
    EXPECT_EQ(MciPathArgument("C:\\My Music\\a.wav", ""), "\"C:\\My Music\\a.wav\"");
    EXPECT_EQ(MciPathArgument("C:\\My Music\\a.wav", "C:\\My Music\\a.wav"), "\"C:\\My Music\\a.wav\"")
        << "short names switched off: the long path comes back";
    EXPECT_EQ(FolderOf("C:\\music\\a.mid"), "C:\\music\\");
    EXPECT_EQ(FolderOf("a.mid"), "");
    EXPECT_EQ(FolderOf("C:\\表"), "C:\\") << "the trail byte of 表 is 0x5C";
}

namespace {
// MThd header (14 bytes) and an MTrk header whose length is trackLength,
// then the events.
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
    auto t = BuildMidiTable({"Synth C", "Alpha Port", "MPU-401"});
    EXPECT_EQ(t.Count, 3);
    const char* names[] = {"Default MidiOut Device", "Alpha Port", "MPU-401", "Synth C"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.Records[i].Name, names[i]);
        EXPECT_EQ(t.Records[i].Port, i == 0 ? -1 : i);
        EXPECT_TRUE(t.Records[i].Usable);
    }
    EXPECT_FALSE(t.Records[4].Usable);
    EXPECT_EQ(BuildMidiTable(std::vector<std::string>(25, "x")).Count, 20);
    EXPECT_EQ(BuildMidiTable({}).Count, 0);
}
