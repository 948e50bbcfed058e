#include "core/file_table.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(FileTable, FindIsExactAndRemoveClosesTheGap) {
    FileTable t;
    for (const char* p : {"C:\\1.bmp", "C:\\2.mid", "C:\\3.wav", "C:\\4.avi", "C:\\5.mp3"})
        t.Append(p, FileKind::Midi);
    EXPECT_EQ(t.Find("C:\\3.wav"), 3);
    EXPECT_EQ(t.Find("c:\\3.wav"), 0) << "letter case makes a different path";
    EXPECT_EQ(t.Find(""), 0);

    t.Remove(3);
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(t.At(3).Path, "C:\\4.avi");
    EXPECT_EQ(t.At(4).Path, "C:\\5.mp3");
    EXPECT_TRUE(t.At(5).Path.empty());

    t.Remove(0);
    t.Remove(5);
    EXPECT_EQ(t.Count(), 4) << "out-of-range removal must do nothing";
}

TEST(FileTable, FindNextOfKind) {
    FileTable t;
    const std::vector<FileKind> kinds = {FileKind::Picture, FileKind::Midi, FileKind::Wave,
                                         FileKind::Mp3, FileKind::Picture};
    for (std::size_t i = 0; i < kinds.size(); ++i) t.Append(std::to_string(i + 1), kinds[i]);

    struct Row { int start; bool wrap; int expected; };
    const std::vector<Row> music = {
        {0, false, 2}, {2, false, 4}, {4, false, 0}, {4, true, 2},
        {5, true, 2},  {9, true, 2},  {-3, false, 2},
    };
    for (std::size_t r = 0; r < music.size(); ++r) {
        EXPECT_EQ(t.FindNextOfKind(music[r].start, FileKind::Midi, FileKind::Mp3, FileKind::None, music[r].wrap),
                  music[r].expected) << "row " << r;
    }
    EXPECT_EQ(t.FindNextOfKind(5, FileKind::Picture, FileKind::Picture, FileKind::Picture, true), 1);
    EXPECT_EQ(t.FindNextOfKind(1, FileKind::Movie, FileKind::None, FileKind::None, true), 0);
}

TEST(FileTable, WrapFindsTheStartEntryItself) {
    FileTable t;
    t.Append("a.bmp", FileKind::Picture);
    t.Append("b.wav", FileKind::Wave);
    t.Append("c.avi", FileKind::Movie);
    t.Append("d.mid", FileKind::Midi);
    EXPECT_EQ(t.FindNextOfKind(4, FileKind::Midi, FileKind::Mp3, FileKind::None, true), 4);
    EXPECT_EQ(t.FindNextOfKind(4, FileKind::Midi, FileKind::Mp3, FileKind::None, false), 0);
}

TEST(FileTable, RefusesWhenFull) {
    FileTable t;
    for (int i = 1; i <= FileTable::Capacity; ++i) ASSERT_EQ(t.Append("p", FileKind::Picture), i);
    EXPECT_TRUE(t.Full());
    EXPECT_EQ(t.Append("one more", FileKind::Picture), 0);
    EXPECT_EQ(t.Count(), FileTable::Capacity);
}

} // namespace
} // namespace lt
