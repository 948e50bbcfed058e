#include "core/file_table.h"

#include <gtest/gtest.h>

#include "controller/list_display_rules.h"
#include "core/file_kind_rules.h"

using namespace lt;
using namespace std::string_literals;

TEST(FileKindRules, KindFromHead)
{
    // A RIFF of unknown form is a picture with JFIF at 6; MPEG frames with CRC are
    // not taken; a short file reads as if zeros followed.
    using K = FileKind;
    const std::vector<std::pair<K, std::vector<std::string>>> rows = {
        {K::Picture, {"BM\x36\x10\0\0"s, "GIF89a", "\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01"s, "RIFF\0\0JFIF\0\0"s, "BM"}},
        {K::Wave, {"RIFF\x24\0\0\0WAVEfmt "s}},
        {K::Movie, {"RIFF\0\0\0\0AVI LIST"s}},
        {K::Midi, {"MThd\0\0\0\x06"s}},
        {K::Mp3, {"\xFF\xFB\x90\x00"s, "\xFF\xF3"}},
        {K::List, {"LumatroveList Ver1.00\r\n", "lumatrovelist"}},
        {K::None,
         {"\xFF\xD8\xFF\xE1\0\x10\x45xif\0\0"s, "RIFF\0\0\0\0RMIDdata"s, "\xFF\xFA\x90\x00"s, "\xFF\xF2\x90\x00"s,
          "ID3\x03\0\0\0\0\x10\x00"s, "LUMATROVELIS", "", "MTh"}}};
    for (const auto& [kind, heads] : rows)
        for (const std::string& head : heads)
            EXPECT_EQ(KindFromHead({reinterpret_cast<const std::uint8_t*>(head.data()), head.size()}), kind) << head;
}

TEST(FileTable, FindRemoveAndNextOfKind)
{
    using K = FileKind;
    FileTable t;
    const K kinds[] = {K::Picture, K::Midi, K::Wave, K::Mp3, K::Picture};
    for (int i = 0; i < 5; ++i)
        t.Append("C:\\" + std::to_string(i + 1), kinds[i]);
    // start, kind a, kind b, wrap -> found; the wrap reaches the start entry itself
    const std::vector<std::tuple<int, K, K, bool, int>> rows = {
        {0, K::Midi, K::Mp3, false, 2}, {2, K::Midi, K::Mp3, false, 4}, {4, K::Midi, K::Mp3, false, 0},
        {4, K::Midi, K::Mp3, true, 2},  {9, K::Midi, K::Mp3, true, 2},  {-3, K::Midi, K::Mp3, false, 2},
        {4, K::Mp3, K::None, true, 4},  {1, K::Movie, K::None, true, 0}};
    for (const auto& [start, a, b, wrap, found] : rows)
        EXPECT_EQ(t.FindNextOfKind(start, a, b, K::None, wrap), found) << start;

    EXPECT_EQ(t.Find("C:\\3"), 3);
    EXPECT_EQ(t.Find("c:\\3"), 0) << "letter case makes a different path";
    t.Remove(3), t.Remove(0), t.Remove(5);
    ASSERT_EQ(t.Count(), 4) << "out-of-range removal must do nothing";
    EXPECT_EQ(t.At(3).Path, "C:\\4");
    EXPECT_EQ(t.Find("C:\\5"), 4) << "the index follows the move";
    EXPECT_EQ(t.Find("C:\\3"), 0);
}

TEST(ListDisplayRules, FilterSelectsLinesAndKeepsEntryNumbers)
{
    FileTable t;
    const char* paths[] = {"C:\\a.bmp", "C:\\b.mid", "C:\\c.mp3", "C:\\音楽\\d.bmp", "C:\\e.mid"};
    const FileKind kinds[] = {FileKind::Picture, FileKind::Midi, FileKind::Mp3, FileKind::Picture, FileKind::Midi};
    for (int i = 0; i < 5; ++i)
        t.Append(paths[i], kinds[i]);
    // filter, selected path -> entries shown, chosen line, widest text (a double-byte character counts 2)
    const std::vector<std::tuple<std::int16_t, std::string, std::vector<int>, int, int>> rows = {
        {FilterAll, "C:\\c.mp3", {1, 2, 3, 4, 5}, 2, 18},
        {1, "C:\\a.bmp", {1, 4}, 0, 18},
        {1, "C:\\b.mid", {1, 4}, -1, 18},
        {3, "", {2, 5}, -1, 13},
        {4, "C:\\a.bmp", {}, -1, 0}};
    for (const auto& [filter, select, entries, chosen, widest] : rows) {
        const ListDisplay d = BuildListDisplay(t, filter, select);
        std::vector<int> shown;
        for (const ListLine& line : d.Lines)
            shown.push_back(line.EntryIndex);
        EXPECT_EQ(std::tie(shown, d.Chosen, d.Widest), std::tie(entries, chosen, widest)) << filter;
    }
    EXPECT_EQ(BuildListDisplay(t, 3, "").Lines.at(1).Text, "0005 C:\\e.mid");
    EXPECT_EQ(ListLineText(10000, "x"), "10000 x");
    EXPECT_EQ(HorizontalExtent(46), 344);
}
