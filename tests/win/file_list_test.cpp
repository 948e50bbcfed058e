#include <gtest/gtest.h>

#include <windows.h>

#include "core/file_list.h"
#include "model_fixture.h"

namespace lt {
namespace {

using FileListTest = test::ModelTest;

TEST_F(FileListTest, EachKindOpensInItsWindowAndIsListed)
{
    std::string pic = dir.Write("a.bmp", test::BmpBytes), mid = dir.Write("b.mid", test::MidiBytes),
                avi = dir.Write("c.avi", test::AviBytes);
    for (const std::string& p : {pic, mid, avi})
        Load(p);
    EXPECT_EQ(rec.calls,
              (test::Paths{"picture 1", "list " + pic, "music " + mid, "list " + mid, "movie " + avi, "list " + avi}));
    EXPECT_EQ(FileList().Table.Count(), 3);
    EXPECT_EQ(FileList().PlayingEntry, 2);
    EXPECT_EQ(FileList().LastMoviePath, avi);
}

TEST_F(FileListTest, MissingHiddenUnknownAndEmptyAreIgnoredQuietly)
{
    std::string hidden = dir.Write("h.bmp", test::BmpBytes);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    std::string unknown = dir.Write("u.bmp", "not a picture");
    Load("");
    Load(dir.File("missing.bmp"));
    Load(hidden);
    Load(unknown);
    Load(dir.Path()); // a folder
    EXPECT_EQ(FileList().Table.Count(), 0);
    EXPECT_TRUE(rec.calls.empty()) << "first call: " << rec.calls.front();
}

TEST_F(FileListTest, KnownPathActivatesInsteadOfAddingAndCaseMatters)
{
    std::string wav = dir.Write("s.wav", test::WavBytes);
    Load(wav);
    rec.calls.clear();
    Load(wav);
    EXPECT_EQ(rec.calls, (test::Paths{"music " + wav})) << "no rebuild on activation";
    EXPECT_EQ(FileList().Table.Count(), 1);

    Load(dir.File("S.WAV")); // the same file on a case-insensitive disk
    EXPECT_EQ(FileList().Table.Count(), 2);
}

TEST_F(FileListTest, QuietModeAddsMusicWithoutPlaying)
{
    std::string mp3 = dir.Write("m.mp3", test::Mp3Bytes);
    FileList().QuietMode = true;
    FileList().PlayingEntry = 7;
    Load(mp3);
    EXPECT_EQ(FileList().Table.Count(), 1);
    EXPECT_EQ(FileList().PlayingEntry, 7);
    EXPECT_EQ(rec.calls, (test::Paths{"list " + mp3}));
}

TEST_F(FileListTest, FullTableRefusesNewFilesButStillActivatesKnownOnes)
{
    for (int i = 1; i < FileTable::Capacity; ++i)
        FileList().Table.Append("X:\\" + std::to_string(i), FileKind::Picture);
    std::string wav = dir.Write("last.wav", test::WavBytes);
    Load(wav);
    rec.calls.clear();
    Load(dir.Write("late.mid", test::MidiBytes));
    EXPECT_EQ(FileList().Table.Count(), FileTable::Capacity);
    EXPECT_TRUE(rec.calls.empty()) << "a refused file is neither opened nor listed";
    Load(wav);
    EXPECT_EQ(rec.calls, test::Paths{"music " + wav});
}

TEST_F(FileListTest, RemovingAndClearingClosePictureWindows)
{
    std::string a = dir.Write("a.bmp", test::BmpBytes), b = dir.Write("b.mid", test::MidiBytes),
                c = dir.Write("c.bmp", test::BmpBytes);
    for (const std::string& p : {a, b, c})
        Load(p);
    rec.calls.clear();
    RemoveEntry(1);
    EXPECT_EQ(rec.calls, (test::Paths{"close " + a}));
    EXPECT_EQ(FileList().Table.At(1).Path, b);
    rec.calls.clear();
    ClearEntries();
    EXPECT_EQ(rec.calls, (test::Paths{"close " + c}));
    EXPECT_EQ(FileList().Table.Count(), 0);
}

} // namespace
} // namespace lt
