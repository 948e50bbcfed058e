#include "core/file_table.h"

#include <gtest/gtest.h>

#include "controller/list_display_rules.h"
#include "core/file_kind_rules.h"

using namespace std::string_literals;

namespace lt {
namespace {

TEST(FileKindRules, KindFromHead)
{
    using K = FileKind;
    const std::vector<std::pair<std::string, K>> rows = {{"BM\x36\x10\0\0"s, K::Picture},
                                                         {"GIF89a", K::Picture},
                                                         {"\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01"s, K::Picture},
                                                         {"\xFF\xD8\xFF\xE1\0\x10"s + "Exif\0\0"s, K::None},
                                                         {"RIFF\x24\0\0\0WAVEfmt "s, K::Wave},
                                                         {"RIFF\0\0\0\0AVI LIST"s, K::Movie},
                                                         {"RIFF\0\0JFIF\0\0"s, K::Picture}, // unknown form, JFIF at 6
                                                         {"RIFF\0\0\0\0RMIDdata"s, K::None},
                                                         {"MThd\0\0\0\x06"s, K::Midi},
                                                         {"\xFF\xFB\x90\x00"s, K::Mp3},
                                                         {"\xFF\xF3", K::Mp3},
                                                         {"\xFF\xFA\x90\x00"s, K::None},
                                                         {"\xFF\xF2\x90\x00"s, K::None}, // CRC frames
                                                         {"ID3\x03\0\0\0\0\x10\x00"s, K::None},
                                                         {"LumatroveList Ver1.00\r\n", K::List},
                                                         {"lumatrovelist", K::List},
                                                         {"LUMATROVELIS", K::None},
                                                         {"", K::None},
                                                         {"MTh", K::None},
                                                         {"BM", K::Picture}}; // short: zeros after
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& head = rows[r].first;
        EXPECT_EQ(KindFromHead({reinterpret_cast<const std::uint8_t*>(head.data()), head.size()}), rows[r].second)
            << "row " << r;
    }
}

TEST(FileTable, FindRemoveAndNextOfKind)
{
    using K = FileKind;
    FileTable t;
    const K kinds[] = {K::Picture, K::Midi, K::Wave, K::Mp3, K::Picture};
    for (int i = 0; i < 5; ++i)
        t.Append("C:\\" + std::to_string(i + 1), kinds[i]);
    struct Row {
        int start;
        K a, b;
        bool wrap;
        int expected;
    };
    for (const Row& r : std::vector<Row>{{0, K::Midi, K::Mp3, false, 2},
                                         {2, K::Midi, K::Mp3, false, 4},
                                         {4, K::Midi, K::Mp3, false, 0},
                                         {4, K::Midi, K::Mp3, true, 2},
                                         {9, K::Midi, K::Mp3, true, 2},
                                         {-3, K::Midi, K::Mp3, false, 2},
                                         {4, K::Mp3, K::None, true, 4}, // the wrap reaches the start itself
                                         {1, K::Movie, K::None, true, 0}})
        EXPECT_EQ(t.FindNextOfKind(r.start, r.a, r.b, K::None, r.wrap), r.expected) << r.start;

    EXPECT_EQ(t.Find("C:\\3"), 3);
    EXPECT_EQ(t.Find("c:\\3"), 0) << "letter case makes a different path";
    t.Remove(3);
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(t.At(3).Path, "C:\\4");
    EXPECT_EQ(t.Find("C:\\5"), 4) << "the index follows the move";
    EXPECT_EQ(t.Find("C:\\3"), 0);
    t.Remove(0);
    t.Remove(5);
    EXPECT_EQ(t.Count(), 4) << "out-of-range removal must do nothing";
}

TEST(ListDisplayRules, FilterSelectsLinesAndKeepsEntryNumbers)
{
    FileTable t;
    t.Append("C:\\a.bmp", FileKind::Picture);
    t.Append("C:\\b.mid", FileKind::Midi);
    t.Append("C:\\c.mp3", FileKind::Mp3);
    t.Append("C:\\\x89\xb9\x8a\x79\\d.bmp", FileKind::Picture); // C:\音楽\d.bmp
    t.Append("C:\\e.mid", FileKind::Midi);
    struct Row {
        std::int16_t filter;
        const char* select;
        std::vector<int> entries;
        int chosen, widest;
    };
    const std::vector<Row> rows = {{FilterAll, "C:\\c.mp3", {1, 2, 3, 4, 5}, 2, 18},
                                   {1, "C:\\a.bmp", {1, 4}, 0, 18},  // a double-byte character counts 2
                                   {1, "C:\\b.mid", {1, 4}, -1, 18}, // selected entry filtered out
                                   {3, "", {2, 5}, -1, 13},          // MIDI only, no MP3
                                   {4, "C:\\a.bmp", {}, -1, 0}};
    for (const Row& r : rows) {
        const ListDisplay d = BuildListDisplay(t, r.filter, r.select);
        std::vector<int> entries;
        for (const ListLine& line : d.Lines)
            entries.push_back(line.EntryIndex);
        EXPECT_EQ(entries, r.entries) << r.filter;
        EXPECT_EQ(d.Chosen, r.chosen) << r.filter;
        EXPECT_EQ(d.Widest, r.widest) << r.filter;
    }
    EXPECT_EQ(BuildListDisplay(t, 3, "").Lines.at(1).Text, "0005 C:\\e.mid");
    EXPECT_EQ(ListLineText(10000, "x"), "10000 x");
    EXPECT_EQ(HorizontalExtent(46), 344);
}

} // namespace
} // namespace lt
