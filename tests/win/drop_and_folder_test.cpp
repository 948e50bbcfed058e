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
HDROP MakeDrop(const test::Paths& names)
{
    std::string list;
    for (const std::string& n : names)
        list += n + '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() + 1);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    std::memcpy(header + 1, list.data(), list.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST_F(ModelFixture, DropOnTheHookedListAddsFilesInTheShellsOrder)
{
    HWND parent = CreateWindowExA(0, "STATIC", "drop-parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND list =
        CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(list);
    DragAcceptFiles(list, TRUE);
    ASSERT_TRUE(HookWindow(list));
    EXPECT_FALSE(HookWindow(list)) << "only one hook at a time";

    std::string c = dir.Write("c.mid", test::MidiBytes), a = dir.Write("a.bmp", test::BmpBytes),
                b = dir.Write("b.avi", test::AviBytes);
    std::string tooLong = dir.Path() + "\\" + std::string(400, 'x') + ".bmp"; // longer than any buffer
    SendMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({c, tooLong, a, b})), 0);

    EXPECT_EQ(rec.calls, (test::Paths{"music " + c, "list " + c, "picture 2", "list " + a, "movie " + b, "list " + b}));
    EXPECT_EQ(Listed(), (test::Paths{c, a, b}));

    EXPECT_TRUE(UnhookWindow());
    EXPECT_FALSE(UnhookWindow());
    rec.calls.clear();
    SendMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({a})), 0);
    EXPECT_TRUE(rec.calls.empty()) << "unhooked list must not take drops";
    DestroyWindow(parent);
}

TEST(DroppedPaths, LongNamesComeBackWholeWithoutOverrun)
{
    const test::Paths names = {"C:\\a.bmp", "C:\\" + std::string(600, 'n') + ".bmp"};
    HDROP drop = MakeDrop(names);
    EXPECT_EQ(DroppedPaths(drop), names);
    DragFinish(drop);
}

TEST_F(ModelFixture, FolderAddsPlainFilesQuietlyAndPlaysTheLastMidi)
{
    const test::Paths added = {dir.Write("1.mid", test::MidiBytes), dir.Write("2.bmp", test::BmpBytes),
                               dir.Write("3.mid", test::MidiBytes), dir.Write("4.wav", test::WavBytes)};
    dir.Write("5.txt", "plain text");
    std::string hidden = dir.Write("6.bmp", test::BmpBytes);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA(dir.File("sub").c_str(), nullptr);
    CreateDirectoryA(dir.File("sub.bmp").c_str(), nullptr);

    AddFolderFiles(dir.Path()); // without the trailing backslash

    // Listing order decides which MIDI file is last; Wine and NTFS list by name.
    EXPECT_EQ(Listed(), added);
    EXPECT_FALSE(FileList().QuietMode || FileList().BatchMode);
    EXPECT_EQ(rec.calls, (test::Paths{"picture 2", "music " + added[2], "list "}))
        << "only the last MIDI file plays, once, and the folder is one rebuild";
}

TEST_F(ModelFixture, EmptyFolderStillRebuildsOnce)
{
    AddFolderFiles(dir.Path() + "\\");
    EXPECT_EQ(rec.calls, test::Paths{"list "});
}

} // namespace
} // namespace lt
