#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/file_list.h"
#include "core/list_files.h"
#include "model_fixture.h"

namespace lt {
namespace {

using test::Paths;
using test::TempFolder;

const std::string Header = "LumatroveList Ver5.0\r\n";

class ListFilesTest : public test::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        InstallListReader();
    }
    // A list file naming paths, written as the program writes it.
    std::string WriteList(std::string_view name, const Paths& paths)
    {
        FileTable t;
        for (const auto& p : paths)
            t.Append(p, FileKind::Midi);
        EXPECT_TRUE(WriteListFile(dir.File(name), t)) << name;
        return dir.File(name);
    }
    // Files in the test folder: a temporary file left behind shows here.
    Paths Names() const
    {
        Paths names;
        WIN32_FIND_DATAA d;
        HANDLE find = FindFirstFileA(dir.File("*").c_str(), &d);
        for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &d))
            if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(d.cFileName);
        FindClose(find);
        return names;
    }
};

TEST_F(ListFilesTest, SavedListReadsBackWholeAndPlaysTheFirstMidiOrMp3)
{
    Paths files = {
        dir.Write("pic.bmp", test::BmpBytes),
        dir.Write("tune.wav", test::WavBytes), // WAV never counts as the first music
        dir.Write("x,y.mid", test::MidiBytes),
        dir.Write(" lead.mp3", test::Mp3Bytes),
        dir.Write("\x95\x5c.mid", test::MidiBytes), // "表.mid"
    };
    for (int i = 0; i < 95; ++i) // enough to be classified as a batch and to let messages run
        files.push_back(dir.Write(std::to_string(i) + ".bmp", test::BmpBytes));
    const std::string list = WriteList("saved.ltl", files);
    Load(list);
    EXPECT_EQ(Listed(), files);
    EXPECT_EQ(rec.music, Paths{files[2]});
    EXPECT_EQ(FileList().PlayingEntry, 3);
    EXPECT_EQ(FileList().CurrentFile, list);
    EXPECT_FALSE(FileList().QuietMode || FileList().BatchMode);
    EXPECT_EQ(rec.rebuilds, 1) << "one rebuild after the whole list, not one per file";
    EXPECT_EQ(rec.calls.back(), "list " + list);

    // A second read adds nothing but starts the first music again.
    Load(list);
    EXPECT_EQ(Listed(), files);
    EXPECT_EQ(rec.music, (Paths{files[2], files[2]}));

    // Read from inside a folder walk: the walk's switches stay on afterwards.
    Reset();
    FileList().BatchMode = FileList().QuietMode = true;
    Load(list);
    EXPECT_EQ(Listed(), files);
    EXPECT_TRUE(FileList().BatchMode && FileList().QuietMode);
    EXPECT_EQ(rec.rebuilds, 0);
}

TEST_F(ListFilesTest, ListsNamingThemselvesOrEachOtherEnd)
{
    const std::string a = dir.Write("a.mid", test::MidiBytes);
    const std::string self = dir.File("self.ltl");
    WriteList("self.ltl", {self, a, self});
    Load(self);
    EXPECT_EQ(Listed(), Paths{a});
    EXPECT_EQ(rec.music, Paths{a});

    Reset();
    const std::string pic = dir.Write("b.bmp", test::BmpBytes), c = dir.Write("c.mid", test::MidiBytes);
    const std::string bList = dir.File("b.ltl");
    WriteList("c.ltl", {bList, c});
    // The same list under another spelling is still the list being read.
    WriteList("b.ltl", {dir.File("c.ltl"), dir.File("B.LTL"), pic});
    Load(bList);
    EXPECT_EQ(Listed(), (Paths{c, pic}));
    EXPECT_TRUE(rec.music.empty()) << "c.ltl's music is added while b.ltl is still being read, so it stays quiet";
    EXPECT_EQ(FileList().CurrentFile, bList);
    EXPECT_FALSE(FileList().QuietMode);
    EXPECT_EQ(rec.rebuilds, 1);
}

TEST_F(ListFilesTest, M3uTakesOnlyNamesRelativeToItsFolder)
{
    CreateDirectoryA(dir.File("sub").c_str(), nullptr);
    const std::string wav = dir.Write("b.wav", test::WavBytes);
    const std::string mid = dir.Write("sub\\a.mid", test::MidiBytes);
    const std::string mp3 = dir.Write("c.mp3", test::Mp3Bytes);
    const std::string absolute = dir.Write("abs.mid", test::MidiBytes);
    const std::string m3u = dir.Write("play.M3U", "#EXTM3U\r\n#EXTINF:12,Title\r\nb.wav\r\n" + absolute +
                                                      "\r\nmissing.mid\r\n\r\n  sub\\a.mid\r\nc.mp3\n"
                                                      "#EXTINF:3,c.mp3\nb.wav");
    Load(m3u);
    EXPECT_EQ(Listed(), (Paths{wav, mid, mp3}));
    EXPECT_EQ(rec.music, Paths{mid});
    EXPECT_EQ(FileList().CurrentFile, m3u);
    EXPECT_EQ(rec.rebuilds, 1);

    Reset(); // a play list naming itself ends too
    Load(dir.Write("loop.m3u", "loop.m3u\r\nloop.m3u\r\nc.mp3\r\n"));
    EXPECT_EQ(Listed(), Paths{mp3});
}

TEST_F(ListFilesTest, JunkLinesAreSkippedQuietly)
{
    const std::string good = dir.Write("good.mid", test::MidiBytes);
    const std::string hidden = dir.Write("cut.mid", test::MidiBytes);
    std::string text = Header;
    text += hidden + std::string("\0junk\r\n", 7); // must not be cut short at the NUL
    text += std::string(1 << 20, 'x') + "\r\n";    // a 1 MB line
    text += dir.Path() + "\\" + std::string(30000, 'y') + "\r\n";
    text += "\x01\x02\xff\xfe,,\r\n";
    text += good + "\r\n";
    Load(dir.Write("junk.ltl", text));
    EXPECT_EQ(Listed(), Paths{good});
    EXPECT_FALSE(FileList().QuietMode || FileList().BatchMode);
}

TEST_F(ListFilesTest, SavingOverAnOldFileKeepsItWhenTheWriteFails)
{
    FileTable t;
    t.Append("C:\\new.mid", FileKind::Midi);
    const std::string target = dir.Write("old.ltl", "old content");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteListFile(target, t));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(TempFolder::Read(target), "old content");
    EXPECT_EQ(Names(), Paths{"old.ltl"}) << "the temporary file is removed";

    // Held open by someone else, without leave to delete it: the new file is
    // written but cannot take the old one's place.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteListFile(target, t));
    CloseHandle(held);
    EXPECT_EQ(TempFolder::Read(target), "old content");
    EXPECT_EQ(Names(), Paths{"old.ltl"}) << "the temporary file is removed";

    EXPECT_TRUE(WriteListFile(target, t));
    EXPECT_EQ(TempFolder::Read(target), Header + "C:\\new.mid\r\n");
    EXPECT_EQ(Names(), Paths{"old.ltl"});

    // An empty list is the header alone and reads back as nothing.
    ASSERT_TRUE(WriteListFile(target, FileTable{}));
    EXPECT_EQ(TempFolder::Read(target), Header);
    Load(target);
    EXPECT_EQ(FileList().Table.Count(), 0);
}

TEST_F(ListFilesTest, SaveDialogOffersTheLastSavedPath)
{
    std::string offered, filter, ext, choice;
    DialogPlatform platform;
    std::vector<std::string> told;
    platform.ReportFailure = [&](HWND, const std::string& text) { told.push_back(text); };
    platform.Save = [&](OPENFILENAMEA* ofn) -> BOOL {
        offered = ofn->lpstrFile;
        filter.assign(ofn->lpstrFilter, 49);
        ext = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
        if (choice.empty())
            return FALSE; // cancelled
        lstrcpynA(ofn->lpstrFile, choice.c_str(), static_cast<int>(ofn->nMaxFile));
        return TRUE;
    };
    const std::string mid = dir.Write("m.mid", test::MidiBytes);
    Load(mid);

    choice = dir.File("first.ltl");
    SaveListFile(nullptr, platform);
    EXPECT_EQ(TempFolder::Read(choice), Header + mid + "\r\n");
    EXPECT_EQ(ext, "ltl") << "a bare extension, so a typed name gets .ltl";
    // "Lumatrove List(*.ltl)|*.ltl|全てのﾌｧｲﾙ(*.*)|*.*" with bars made NULs, and the closing double NUL
    EXPECT_EQ(filter, std::string("Lumatrove List(*.ltl)\0*.ltl\0\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9"
                                  "(*.*)\0*.*\0\0",
                                  49));

    choice = dir.File("no such folder\\second.ltl"); // the write fails
    SaveListFile(nullptr, platform);
    EXPECT_EQ(offered, dir.File("first.ltl"));
    ASSERT_EQ(told.size(), 1u) << "a failed save is reported";
    EXPECT_NE(told[0].find(choice), std::string::npos) << "with its path: " << told[0];
    choice.clear();
    SaveListFile(nullptr, platform);
    EXPECT_EQ(offered, dir.File("first.ltl")) << "neither a failed write nor a cancel changes the offer";
}

} // namespace
} // namespace lt
