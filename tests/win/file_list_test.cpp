#include <gtest/gtest.h>

#include "controller/folder_select.h"
#include "model_fixture.h"

using namespace lt;

using test::Paths;
using FileListTest = test::ModelTest;

TEST_F(FileListTest, EachKindOpensInItsWindowOnceAndIsListed)
{
    const std::string pic = dir.Write("a.bmp", test::BmpBytes), mid = dir.Write("b.mid", test::MidiBytes),
                      avi = dir.Write("c.avi", test::AviBytes), hidden = dir.Write("h.bmp", test::BmpBytes);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const std::string& p : {pic, mid, avi, std::string(), dir.File("missing.bmp"), hidden,
                                 dir.Write("u.bmp", "not a picture"), dir.Path()})
        Load(p);
    EXPECT_EQ(rec.calls,
              (Paths{"picture 1", "list " + pic, "music " + mid, "list " + mid, "movie " + avi, "list " + avi}))
        << "missing, hidden, unknown, empty and folders are ignored quietly";
    EXPECT_EQ(FileList().PlayingEntry, 2);
    EXPECT_EQ(FileList().LastMoviePath, avi);

    rec.calls.clear();
    Load(mid);
    EXPECT_EQ(rec.calls, Paths{"music " + mid}) << "a known path activates, without a rebuild";
    Load(dir.File("B.MID")); // the same file on a case-insensitive disk
    EXPECT_EQ(FileList().Table.Count(), 4);

    rec.calls.clear();
    RemoveEntry(1);
    EXPECT_EQ(rec.calls, Paths{"close " + pic});
    EXPECT_EQ(FileList().Table.At(1).Path, mid);
    Load(pic);
    rec.calls.clear();
    ClearEntries();
    EXPECT_EQ(rec.calls, Paths{"close " + pic});
    EXPECT_EQ(FileList().Table.Count(), 0);
}

TEST_F(FileListTest, QuietModeAndAFullTable)
{
    const std::string mp3 = dir.Write("m.mp3", test::Mp3Bytes);
    FileList().QuietMode = true;
    FileList().PlayingEntry = 7;
    Load(mp3);
    EXPECT_EQ(FileList().PlayingEntry, 7);
    EXPECT_EQ(rec.calls, Paths{"list " + mp3}) << "quiet: listed, not played";

    FileList().QuietMode = false;
    for (int i = 1; i < FileTable::Capacity; ++i)
        FileList().Table.Append("X:\\" + std::to_string(i), FileKind::Picture);
    rec.calls.clear();
    Load(dir.Write("late.mid", test::MidiBytes));
    EXPECT_EQ(FileList().Table.Count(), FileTable::Capacity);
    EXPECT_TRUE(rec.calls.empty()) << "a refused file is neither opened nor listed";
    Load(mp3);
    EXPECT_EQ(rec.calls, Paths{"music " + mp3}) << "known files still activate";
}

TEST_F(FileListTest, FolderAddsPlainFilesQuietlyAndPlaysTheLastMidi)
{
    AddFolderFiles(dir.Path() + "\\");
    EXPECT_EQ(rec.calls, Paths{"list "}) << "an empty folder is still one rebuild";

    // A folder named 表 (95 5C): its last byte is no separator.
    const std::string sub = "\x95\x5c";
    CreateDirectoryA(dir.File(sub).c_str(), nullptr);
    const Paths added = {dir.Write(sub + "\\1.mid", test::MidiBytes), dir.Write(sub + "\\2.bmp", test::BmpBytes),
                         dir.Write(sub + "\\3.mid", test::MidiBytes), dir.Write(sub + "\\4.wav", test::WavBytes)};
    dir.Write(sub + "\\5.txt", "text");
    SetFileAttributesA(dir.Write(sub + "\\6.bmp", test::BmpBytes).c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA(dir.File(sub + "\\sub.bmp").c_str(), nullptr);
    rec = {};
    AddFolderFiles(dir.File(sub));
    EXPECT_EQ(Listed(), added); // Wine and NTFS list by name
    EXPECT_FALSE(FileList().QuietMode || FileList().BatchMode);
    EXPECT_EQ(rec.calls, (Paths{"picture 2", "music " + added[2], "list "}))
        << "only the last MIDI file plays, once, and the folder is one rebuild";
}
