#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/file_list.h"
#include "core/list_files.h"
#include "model_fixture.h"

namespace lt {
namespace {

const std::string Header = "LumatroveList Ver5.0\r\n";

std::string ReadAll(const std::string& path)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string out(GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
    CloseHandle(f);
    out.resize(got);
    return out;
}

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

class ListFilesTest : public test::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        InstallListReader();
    }
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> out;
        for (const FileEntry& e : FileList().Table.Entries())
            out.push_back(e.Path);
        return out;
    }
    // A list file naming paths, written as the program writes it.
    std::string WriteList(std::string_view name, const std::vector<std::string>& paths)
    {
        FileTable t;
        for (const auto& p : paths)
            t.Append(p, FileKind::Midi);
        std::string path = dir.File(name);
        EXPECT_TRUE(WriteListFile(path, t)) << path;
        return path;
    }

};

TEST_F(ListFilesTest, SavedListReadsBackWholeAndPlaysTheFirstMidiOrMp3)
{
    const std::vector<std::string> files = {
        dir.Write("pic.bmp", test::BmpBytes),
        dir.Write("tune.wav", test::WavBytes), // WAV never counts as the first music
        dir.Write("x,y.mid", test::MidiBytes),
        dir.Write(" lead.mp3", test::Mp3Bytes),
        dir.Write("\x95\x5c.mid", test::MidiBytes), // "表.mid"
    };
    FileList().QuietMode = true;
    for (const auto& f : files)
        Load(f);
    FileList().QuietMode = false;
    ASSERT_EQ(Listed(), files);

    const std::string list = dir.File("saved.ltl");
    ASSERT_TRUE(WriteListFile(list, FileList().Table));
    EXPECT_EQ(ReadAll(list), Header + files[0] + "\r\n" + files[1] + "\r\n\"" + files[2] + "\"\r\n" + files[3] +
                                 "\r\n" + files[4] + "\r\n")
        << "a comma path is quoted; a leading blank sits after the folder, so that one is not";

    FileList() = FileListState{};
    rec = test::CallRecorder{};
    Load(list);
    EXPECT_EQ(Listed(), files);
    EXPECT_EQ(rec.music, std::vector<std::string>{files[2]});
    EXPECT_EQ(FileList().PlayingEntry, 3);
    EXPECT_EQ(FileList().CurrentFile, list);
    EXPECT_FALSE(FileList().QuietMode);
    EXPECT_FALSE(FileList().BatchMode);
    EXPECT_EQ(rec.rebuilds, 1) << "one rebuild after the whole list, not one per file";
    EXPECT_EQ(rec.lastSelect, list);

    // A second read adds nothing but starts the first music again.
    Load(list);
    EXPECT_EQ(Listed(), files);
    EXPECT_EQ(rec.music, (std::vector<std::string>{files[2], files[2]}));
}

TEST_F(ListFilesTest, ListsNamingThemselvesOrEachOtherEnd)
{
    const std::string a = dir.Write("a.mid", test::MidiBytes);
    const std::string self = dir.File("self.ltl");
    WriteList("self.ltl", {self, a, self});
    Load(self);
    EXPECT_EQ(Listed(), std::vector<std::string>{a});
    EXPECT_EQ(rec.music, std::vector<std::string>{a});

    FileList() = FileListState{};
    rec = test::CallRecorder{};
    const std::string pic = dir.Write("b.bmp", test::BmpBytes);
    const std::string c = dir.Write("c.mid", test::MidiBytes);
    const std::string bList = dir.File("b.ltl"), cList = dir.File("c.ltl");
    WriteList("c.ltl", {bList, c});
    // The same list under another spelling is still the list being read.
    std::string upper = bList;
    upper.replace(upper.size() - 5, 5, "B.LTL");
    WriteList("b.ltl", {cList, upper, pic});
    Load(bList);
    EXPECT_EQ(Listed(), (std::vector<std::string>{c, pic}));
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
    EXPECT_EQ(Listed(), (std::vector<std::string>{wav, mid, mp3}));
    EXPECT_EQ(rec.music, std::vector<std::string>{mid});
    EXPECT_EQ(FileList().CurrentFile, m3u);
    EXPECT_EQ(rec.rebuilds, 1);

    // A play list naming itself ends too.
    FileList() = FileListState{};
    rec = test::CallRecorder{};
    const std::string loop = dir.Write("loop.m3u", "loop.m3u\r\nc.mp3\r\n");
    Load(loop);
    EXPECT_EQ(Listed(), std::vector<std::string>{mp3});
}

TEST_F(ListFilesTest, JunkLinesAreSkippedQuietly)
{
    const std::string good = dir.Write("good.mid", test::MidiBytes);
    const std::string hidden = dir.Write("cut.mid", test::MidiBytes);
    std::string text = Header;
    text += hidden + std::string("\0junk\r\n", 7);  // must not be cut short at the NUL
    text += std::string(1 << 20, 'x') + "\r\n";      // a 1 MB line
    text += dir.Path() + "\\" + std::string(30000, 'y') + "\r\n";
    text += "\x01\x02\xff\xfe,,\r\n";
    text += good + "\r\n";
    const std::string list = dir.Write("junk.ltl", text);
    Load(list);
    EXPECT_EQ(Listed(), std::vector<std::string>{good});
    EXPECT_FALSE(FileList().QuietMode);
    EXPECT_FALSE(FileList().BatchMode);
}

TEST_F(ListFilesTest, ManyEntriesRebuildTheDisplayOnceAndKeepTheCallersSwitches)
{
    std::vector<std::string> files;
    for (int i = 0; i < 400; ++i)
        files.push_back(dir.Write("p" + std::to_string(i) + ".bmp", test::BmpBytes));
    const std::string list = WriteList("many.ltl", files);

    Load(list);
    EXPECT_EQ(Listed(), files);
    EXPECT_EQ(rec.rebuilds, 1);
    EXPECT_EQ(rec.suppressed, 400);

    // Read from inside a folder walk: the walk's switches stay on afterwards.
    FileList() = FileListState{};
    rec = test::CallRecorder{};
    FileList().BatchMode = true;
    FileList().QuietMode = true;
    Load(list);
    EXPECT_EQ(FileList().Table.Count(), 400);
    EXPECT_TRUE(FileList().BatchMode);
    EXPECT_TRUE(FileList().QuietMode);
    EXPECT_EQ(rec.rebuilds, 0);
}

TEST_F(ListFilesTest, SavingOverAnOldFileKeepsItWhenTheWriteFails)
{
    FileTable t;
    t.Append("C:\\new.mid", FileKind::Midi);
    const std::string target = dir.Write("old.ltl", "old content");

    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteListFile(target, t));
    EXPECT_EQ(ReadAll(target), "old content");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"old.ltl"}) << "the temporary file is removed";

    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    dir.Write("old.ltl", "old content");
    // Held open by someone else, without leave to delete it: the new file is
    // written but cannot take the old one's place.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteListFile(target, t));
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target), "old content");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"old.ltl"}) << "the temporary file is removed";

    EXPECT_TRUE(WriteListFile(target, t));
    EXPECT_EQ(ReadAll(target), Header + "C:\\new.mid\r\n");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"old.ltl"});

    EXPECT_FALSE(WriteListFile(dir.File("no such folder\\x.ltl"), t));

    // An empty list is the header alone and reads back as nothing.
    ASSERT_TRUE(WriteListFile(target, FileTable{}));
    EXPECT_EQ(ReadAll(target), Header);
    Load(target);
    EXPECT_EQ(FileList().Table.Count(), 0);
}

TEST_F(ListFilesTest, SaveDialogOffersTheLastSavedPath)
{
    std::string offered, filter, ext, choice;
    DialogPlatform platform;
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
    EXPECT_EQ(ReadAll(choice), Header + mid + "\r\n");
    EXPECT_EQ(ext, "ltl") << "a bare extension, so a typed name gets .ltl";
    // "全てのﾌｧｲﾙ" in Shift-JIS
    EXPECT_EQ(filter, std::string("Lumatrove List(*.ltl)\0*.ltl\0\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9"
                                  "(*.*)\0*.*\0\0",
                                  49));

    choice = dir.File("no such folder\\second.ltl"); // the write fails
    SaveListFile(nullptr, platform);
    EXPECT_EQ(offered, dir.File("first.ltl"));

    choice.clear();
    SaveListFile(nullptr, platform);
    EXPECT_EQ(offered, dir.File("first.ltl")) << "neither a failed write nor a cancel changes the offer";
}

} // namespace
} // namespace lt
