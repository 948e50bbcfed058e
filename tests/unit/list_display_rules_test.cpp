#include "controller/list_display_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

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
        int chosen;
        int widest;
    };
    const std::vector<Row> rows = {
        {FilterAll, "C:\\c.mp3", {1, 2, 3, 4, 5}, 2, 18},
        {1, "C:\\a.bmp", {1, 4}, 0, 18},  // a double-byte character counts 2
        {1, "C:\\b.mid", {1, 4}, -1, 18}, // selected entry filtered out
        {3, "", {2, 5}, -1, 13},          // MIDI only, no MP3
        {4, "C:\\a.bmp", {}, -1, 0},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const ListDisplay d = BuildListDisplay(t, rows[r].filter, rows[r].select);
        std::vector<int> entries;
        for (const ListLine& line : d.Lines)
            entries.push_back(line.EntryIndex);
        EXPECT_EQ(entries, rows[r].entries) << "row " << r;
        EXPECT_EQ(d.Chosen, rows[r].chosen) << "row " << r;
        EXPECT_EQ(d.Widest, rows[r].widest) << "row " << r;
    }
    EXPECT_EQ(BuildListDisplay(t, 3, "").Lines.at(1).Text, "0005 C:\\e.mid");
    EXPECT_EQ(ListLineText(10000, "x"), "10000 x");
}

TEST(ListDisplayRules, HorizontalExtent)
{
    EXPECT_EQ(HorizontalExtent(0), 22);
    EXPECT_EQ(HorizontalExtent(46), 344);
}

} // namespace
} // namespace lt
