// The file list model through the real LoadFile: single files, folders, list files.
#include "controller/folder_select.h"
#include "controller/list_file_dialog.h"
#include "model_fixture.h"

using namespace lt;
using namespace std::string_literals;
using test::Paths;
using test::TempFolder;
using FileListTest = test::ModelTest;
using ListFilesTest = test::ModelTest;

static const std::string Header = "LumatroveList Ver5.0\r\n";

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
    EXPECT_EQ(std::tie(FileList().PlayingEntry, FileList().LastMoviePath), std::make_tuple(2, avi));

    rec.calls.clear();
    Load(mid);
    EXPECT_EQ(rec.calls, Paths{"music " + mid}) << "a known path activates, without a rebuild";
    Load(dir.File("B.MID")); // the same file on a case-insensitive disk
    EXPECT_EQ(FileList().Table.Count(), 4);

    rec.calls.clear();
    ClearEntries();
    EXPECT_EQ(rec.calls, Paths{"close " + pic}) << "only a picture has a window to close";
    EXPECT_EQ(FileList().Table.Count(), 0);
}

TEST_F(FileListTest, QuietModeAndAFullTable)
{
    const std::string mp3 = dir.Write("m.mp3", test::Mp3Bytes);
    FileList().QuietMode = true, FileList().PlayingEntry = 7;
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

    const std::string sub = "表"; // its last byte, 5C, is no separator
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

TEST_F(ListFilesTest, SavedListReadsBackWholeAndPlaysTheFirstMidiOrMp3)
{
    Paths files = {dir.Write("pic.bmp", test::BmpBytes), dir.Write("tune.wav", test::WavBytes), // WAV is no music
                   dir.Write("x,y.mid", test::MidiBytes), dir.Write(" lead.mp3", test::Mp3Bytes),
                   dir.Write("表.mid", test::MidiBytes)};
    for (int i = 0; i < 95; ++i) // enough to be classified as a batch and to let messages run
        files.push_back(dir.Write(std::to_string(i) + ".bmp", test::BmpBytes));
    const std::string list = WriteList(dir, "saved.ltl", files);
    Load(list);
    EXPECT_EQ(Listed(), files);
    // The first piece plays; one rebuild after the whole list, not one per file.
    EXPECT_EQ(std::tie(rec.music, FileList().PlayingEntry, FileList().CurrentFile, rec.rebuilds),
              std::make_tuple(Paths{files[2]}, 3, list, 1));

    Load(list); // a second read adds nothing but starts the first music again
    EXPECT_EQ(Listed(), files);
    EXPECT_EQ(rec.music, (Paths{files[2], files[2]}));
    EXPECT_FALSE(FileList().QuietMode || FileList().BatchMode);

    Reset(); // read from inside a folder walk: the walk's switches stay on
    FileList().BatchMode = FileList().QuietMode = true;
    Load(list);
    EXPECT_TRUE(FileList().BatchMode && FileList().QuietMode && rec.rebuilds == 0);
}

TEST_F(ListFilesTest, ListsNamingThemselvesOrEachOtherEnd)
{
    const std::string a = dir.Write("a.mid", test::MidiBytes), self = dir.File("self.ltl");
    WriteList(dir, "self.ltl", {self, a, self});
    Load(self);
    EXPECT_EQ(Listed(), Paths{a});

    Reset();
    const std::string pic = dir.Write("b.bmp", test::BmpBytes), c = dir.Write("c.mid", test::MidiBytes);
    const std::string bList = WriteList(dir, "b.ltl", {dir.File("c.ltl"), dir.File("B.LTL"), pic});
    WriteList(dir, "c.ltl", {bList, c});
    // The same list under another spelling is still the list being read.
    Load(bList);
    EXPECT_EQ(Listed(), (Paths{c, pic}));
    EXPECT_EQ(rec.music, Paths{c}) << "the inner list's first piece, once the outer list is read";
    EXPECT_EQ(FileList().CurrentFile, bList);
    EXPECT_FALSE(FileList().QuietMode);
    EXPECT_EQ(rec.rebuilds, 1);
}

TEST_F(ListFilesTest, JunkAndHugeListsAreReadQuietlyAndBounded)
{
    const std::string good = dir.Write("good.mid", test::MidiBytes), cut = dir.Write("cut.mid", test::MidiBytes);
    std::string text = Header + cut + std::string("\0junk\r\n", 7); // not cut short at the NUL
    text += std::string(1 << 20, 'x') + "\r\n" + dir.Path() + "\\" + std::string(30000, 'y') + "\r\n";
    Load(dir.Write("junk.ltl", text + "\x01\x02\xff\xfe,,\r\n" + good + "\r\n"));
    EXPECT_EQ(Listed(), Paths{good});

    // Millions of fields past the first entry: only the start of such a file
    // is read, and only so many of its fields are looked at.
    std::string huge = Header + good + "\r\n";
    for (int i = 0; i < 3'000'000; ++i)
        huge += "x,";
    Reset();
    const DWORD start = GetTickCount();
    Load(dir.Write("huge.ltl", huge + "\r\n" + cut + "\r\n"));
    EXPECT_EQ(Listed(), Paths{good});
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_FALSE(FileList().QuietMode || FileList().BatchMode);
}

TEST_F(ListFilesTest, SavingReplacesTheOldFileWholeOrNotAtAll)
{
    FileTable t;
    t.Append("C:\\new.mid", FileKind::Midi);
    const std::string target = dir.Write("old.ltl", "old content");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteListFile(target, t));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Held open without leave to delete it: the new file cannot take its place.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_FALSE(WriteListFile(target, t));
    CloseHandle(held);
    EXPECT_EQ(TempFolder::Read(target), "old content");
    WIN32_FIND_DATAA found;
    EXPECT_EQ(FindFirstFileA(dir.File("*.tmp").c_str(), &found), INVALID_HANDLE_VALUE) << "a temporary file is left";
    EXPECT_TRUE(WriteListFile(target, t));
    EXPECT_EQ(TempFolder::Read(target), Header + "C:\\new.mid\r\n");

    std::string offered, filter, ext, choice;
    Paths told;
    DialogPlatform platform;
    platform.ReportFailure = [&](HWND, const std::string& text) { told.push_back(text); };
    platform.Save = [&](OPENFILENAMEA* ofn) -> BOOL {
        offered = ofn->lpstrFile;
        filter.assign(ofn->lpstrFilter, 49);
        ext = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
        lstrcpynA(ofn->lpstrFile, choice.c_str(), static_cast<int>(ofn->nMaxFile));
        return !choice.empty();
    };
    choice = dir.File("first.ltl");
    SaveListFile(nullptr, platform);
    EXPECT_EQ(TempFolder::Read(choice), Header);
    EXPECT_EQ(ext, "ltl") << "a bare extension, so a typed name gets .ltl";
    EXPECT_EQ(filter, "Lumatrove List(*.ltl)\0*.ltl\0全てのﾌｧｲﾙ(*.*)\0*.*\0\0"s) << "bars made NULs, a double NUL";
    choice = dir.File("no such folder\\second.ltl");
    SaveListFile(nullptr, platform);
    ASSERT_EQ(told.size(), 1u) << "a failed save is reported";
    EXPECT_NE(told[0].find(choice), std::string::npos) << "with its path: " << told[0];
    choice.clear();
    SaveListFile(nullptr, platform);
    EXPECT_EQ(offered, dir.File("first.ltl")) << "neither a failed write nor a cancel changes the offer";
}
