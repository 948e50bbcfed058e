#include "core/file_table.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(FileTable, FindIsExactAndRemoveClosesTheGap)
{
    FileTable t;
    for (const char* p : {"C:\\1.bmp", "C:\\2.mid", "C:\\3.wav", "C:\\4.avi", "C:\\5.mp3"})
        t.Append(p, FileKind::Midi);
    EXPECT_EQ(t.Find("C:\\3.wav"), 3);
    EXPECT_EQ(t.Find("c:\\3.wav"), 0) << "letter case makes a different path";

    t.Remove(3);
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(t.At(3).Path, "C:\\4.avi");
    EXPECT_EQ(t.At(4).Path, "C:\\5.mp3");
    EXPECT_EQ(t.Find("C:\\5.mp3"), 4) << "the index follows the move";
    EXPECT_EQ(t.Find("C:\\3.wav"), 0);
    t.Remove(0);
    t.Remove(5);
    EXPECT_EQ(t.Count(), 4) << "out-of-range removal must do nothing";
}

TEST(FileTable, FindNextOfKind)
{
    using K = FileKind;
    FileTable t;
    for (K k : {K::Picture, K::Midi, K::Wave, K::Mp3, K::Picture})
        t.Append("p", k);
    struct Row {
        int start;
        K a, b;
        bool wrap;
        int expected;
    };
    const std::vector<Row> rows = {
        {0, K::Midi, K::Mp3, false, 2},  {2, K::Midi, K::Mp3, false, 4}, {4, K::Midi, K::Mp3, false, 0},
        {4, K::Midi, K::Mp3, true, 2},   {9, K::Midi, K::Mp3, true, 2},  {-3, K::Midi, K::Mp3, false, 2},
        {4, K::Mp3, K::None, true, 4}, // the wrap reaches the start entry itself
        {1, K::Movie, K::None, true, 0},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(t.FindNextOfKind(rows[r].start, rows[r].a, rows[r].b, K::None, rows[r].wrap), rows[r].expected)
            << "row " << r;
}

} // namespace
} // namespace lt
