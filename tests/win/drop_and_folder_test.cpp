#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "controller/drop_hook.h"
#include "controller/folder_select.h"
#include "core/file_list.h"
#include "model_fixture.h"

namespace lt {
namespace {

using ModelFixture = test::ModelTest;

// A shell drop block as the shell builds it: DROPFILES, then ANSI names each
// NUL-terminated, then one more NUL.
HDROP MakeDrop(const std::vector<std::string>& names)
{
    std::size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& n : names)
        size += n.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* at = reinterpret_cast<char*>(header + 1);
    for (const std::string& n : names) {
        std::memcpy(at, n.c_str(), n.size() + 1);
        at += n.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST_F(ModelFixture, DropOnTheHookedListAddsFilesInTheShellsOrder)
{
    HWND parent = CreateWindowExA(0, "STATIC", "drop-parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(list);
    DragAcceptFiles(list, TRUE);
    ASSERT_TRUE(HookWindow(list));
    EXPECT_FALSE(HookWindow(list)) << "only one hook at a time";

    std::string c = dir.Write("c.mid", test::MidiBytes);
    std::string a = dir.Write("a.bmp", test::BmpBytes);
    std::string b = dir.Write("b.avi", test::AviBytes);
    std::string tooLong = dir.Path() + "\\" + std::string(400, 'x') + ".bmp"; // longer than any buffer
    SendMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({c, tooLong, a, b})), 0);

    EXPECT_EQ(rec.calls, (std::vector<std::string>{"music " + c, "list " + c, "picture 2", "list " + a,
                                                   "movie " + b, "list " + b}));
    ASSERT_EQ(FileList().Table.Count(), 3);
    EXPECT_EQ(FileList().Table.At(1).Path, c);
    EXPECT_EQ(FileList().Table.At(3).Path, b);

    EXPECT_TRUE(UnhookWindow());
    EXPECT_FALSE(UnhookWindow());
    rec.calls.clear();
    SendMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({a})), 0);
    EXPECT_TRUE(rec.calls.empty()) << "unhooked list must not take drops";
    DestroyWindow(parent);
}

TEST(DroppedPaths, LongNamesComeBackWholeWithoutOverrun)
{
    std::string name = "C:\\" + std::string(600, 'n') + ".bmp";
    HDROP drop = MakeDrop({"C:\\a.bmp", name});
    EXPECT_EQ(DroppedPaths(drop), (std::vector<std::string>{"C:\\a.bmp", name}));
    DragFinish(drop);
}

TEST_F(ModelFixture, FolderAddsPlainFilesQuietlyAndPlaysTheLastMidi)
{
    std::string first = dir.Write("1.mid", test::MidiBytes);
    dir.Write("2.bmp", test::BmpBytes);
    std::string last = dir.Write("3.mid", test::MidiBytes);
    dir.Write("4.wav", test::WavBytes);
    dir.Write("5.txt", "plain text");
    std::string hidden = dir.Write("6.bmp", test::BmpBytes);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA(dir.File("sub").c_str(), nullptr);
    CreateDirectoryA(dir.File("sub.bmp").c_str(), nullptr);

    AddFolderFiles(dir.Path()); // without the trailing backslash

    ASSERT_EQ(FileList().Table.Count(), 4) << "bmp, two mid, wav";
    EXPECT_FALSE(FileList().QuietMode);
    EXPECT_FALSE(FileList().BatchMode);
    // Listing order decides which MIDI file is last; Wine and NTFS list by name.
    std::vector<std::string> music, lists;
    for (const std::string& call : rec.calls)
        (call.rfind("music ", 0) == 0 ? music : lists).push_back(call);
    EXPECT_EQ(music, (std::vector<std::string>{"music " + last})) << "only the last MIDI file plays";
    EXPECT_EQ(lists, (std::vector<std::string>{"picture 2", "list "})) << "one rebuild for the folder";
    EXPECT_EQ(FileList().Table.At(1).Path, first);
}

TEST_F(ModelFixture, EmptyFolderStillRebuildsOnce)
{
    AddFolderFiles(dir.Path() + "\\");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"list "}));
}

} // namespace
} // namespace lt
