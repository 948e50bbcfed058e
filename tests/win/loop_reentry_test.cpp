// The model's loops let window messages run; what runs in between (a window
// closing, another loop, Exit) must not break them.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "controller/drop_hook.h"
#include "controller/folder_select.h"
#include "model_fixture.h"

using namespace lt;
using test::Paths;
using test::TempFolder;

namespace {

std::function<void()> g_onAppMessage;

LRESULT CALLBACK RunOnAppMessage(HWND h, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_APP)
        g_onAppMessage();
    return DefWindowProcA(h, m, wp, lp);
}

struct LoopTest : test::ModelTest {
    Paths Write(const char* stem, const char* ext, std::string_view bytes, int n)
    {
        Paths out;
        for (int i = 0; i < n; ++i)
            out.push_back(dir.Write(stem + std::to_string(100 + i) + ext, bytes));
        return out;
    }
    TempFolder lists; // apart from the files, which a folder walk takes
};

} // namespace

TEST_F(LoopTest, RemovingAndClearingSurviveWindowsThatRemoveEntriesWhenClosed)
{
    const Paths pics = Write("p", ".bmp", test::BmpBytes, 4);
    for (const std::string& p : pics)
        Load(p);
    // Each window closing removes its own entry and the first one's.
    rec.onClose = [&](const std::string& p) {
        RemoveEntry(FindEntry(p));
        RemoveEntry(FindEntry(pics[0]));
    };
    RemoveEntry(3);
    EXPECT_EQ(Listed(), (Paths{pics[1], pics[3]})) << "the entry asked for goes, not the one moved into its place";
    rec.calls.clear();
    ClearEntries();
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(rec.calls, (Paths{"close " + pics[1], "close " + pics[3]})) << "each window closed once";
}

TEST_F(LoopTest, ListOfListsPlaysItsFirstPieceOnce)
{
    const Paths pic = Write("a", ".bmp", test::BmpBytes, 1), mid = Write("m", ".mid", test::MidiBytes, 3);
    const std::string inner = WriteList(lists, "inner.ltl", {pic[0], mid[1]});
    const std::string m3u = dir.Write("more.m3u", "m102.mid\r\n");
    Load(WriteList(lists, "outer.ltl", {inner, mid[0], m3u}));
    EXPECT_EQ(Listed(), (Paths{pic[0], mid[1], mid[0], mid[2]}));
    EXPECT_EQ(rec.music, Paths{mid[1]}) << "the first piece of the first inner list, once the reading is done";
    EXPECT_EQ(FileList().PlayingEntry, 2);
    Reset();
    Load(WriteList(lists, "only.ltl", {m3u}));
    EXPECT_EQ(rec.music, Paths{mid[2]}) << "a list naming only a play list";
}

// A folder added and a queue drained while a list is being read (their
// messages run inside the reader) leave the reader quiet and batched.
TEST_F(LoopTest, LoopsInsideAListReadLeaveItQuietAndBatched)
{
    const Paths mids = Write("m", ".mid", test::MidiBytes, 70);
    TempFolder other;
    const std::string folderFile = other.Write("f.bmp", test::BmpBytes), queued = dir.Write("q.bmp", test::BmpBytes);
    HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    g_onAppMessage = [&] { AddFolderFiles(other.Path()), AddQueuedFiles({queued}); };
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RunOnAppMessage));
    PostMessageA(w, WM_APP, 0, 0);
    Load(WriteList(lists, "long.ltl", mids));
    DestroyWindow(w);
    EXPECT_EQ(Listed().size(), mids.size() + 2);
    EXPECT_EQ(rec.music, Paths{mids[0]}) << "only the list's first piece plays";
    EXPECT_EQ(rec.rebuilds, 1) << "one rebuild, after the reading";
    EXPECT_FALSE(FileList().BatchMode || FileList().QuietMode);
}

// Exit while a loop runs: the loop stops at its next look at the messages
// rather than adding everything (the program would go on invisibly).
TEST_F(LoopTest, QuitStopsEveryLoopAtItsNextStep)
{
    const Paths pics = Write("p", ".bmp", test::BmpBytes, 300);
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"list read", [&] { Load(WriteList(lists, "all.ltl", pics)); }},
        {"drop",
         [&] {
             std::string block(sizeof(DROPFILES), '\0');
             reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
             for (const std::string& p : pics)
                 block += p + '\0';
             block += '\0';
             HGLOBAL h = GlobalAlloc(GMEM_FIXED, block.size());
             std::memcpy(h, block.data(), block.size());
             HandleDrop(static_cast<HDROP>(h));
         }},
        {"folder", [&] { AddFolderFiles(dir.Path()); }},
        {"queue", [&] { AddQueuedFiles(pics); }},
    };
    for (const auto& [loop, run] : rows) {
        Reset();
        ResetQuitting();
        PostQuitMessage(0);
        run();
        EXPECT_TRUE(Quitting()) << loop;
        EXPECT_GT(Listed().size(), 0u) << loop;
        EXPECT_LT(Listed().size(), pics.size()) << loop << " went on after the quit";
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << loop << ": quit left for the main loop";
    }
}
