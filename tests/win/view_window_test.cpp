// The picture window in-process: the GDI objects it leaves behind, the
// mouse capture and the redraw switch. Its pictures are grey BMPs written
// here.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/file_list.h"
#include "temp_folder.h"
#include "viewer/view_mdl.h"
#include "viewer/view_window.h"

using namespace lt;

namespace {

// w x h, 24 bits, grey; rows padded to 4 bytes.
std::string Bmp(int w, int h)
{
    std::string b(54 + static_cast<std::size_t>(((w * 3 + 3) & ~3) * h), '\x80');
    std::fill(b.begin(), b.begin() + 54, '\0');
    const std::pair<std::size_t, std::size_t> fields[] = {{0, 'B' | 'M' << 8},
                                                          {2, b.size()},
                                                          {10, 54},
                                                          {14, 40},
                                                          {18, static_cast<std::size_t>(w)},
                                                          {22, static_cast<std::size_t>(h)},
                                                          {26, 1},
                                                          {28, 24}};
    for (const auto& [at, v] : fields)
        for (std::size_t k = 0; k < 2; ++k) // 16 bits are enough here
            b[at + k] = static_cast<char>(v >> (8 * k));
    return b;
}

// Counts bitmaps deleted while a DC still holds them (Windows then refuses
// the delete and the bitmap leaks; Wine frees it later with the DC, so only
// the moment of the delete shows it). The program's DeleteObject calls come
// through this exe's import table, which the watch patches.
class DeleteWatch {
public:
    static inline int heldAtDelete = 0;

    DeleteWatch() : slot_(ImportSlot()) { Patch(reinterpret_cast<void*>(&Watch)); }
    ~DeleteWatch() { Patch(reinterpret_cast<void*>(real_)); }
    explicit operator bool() const { return slot_ != nullptr; }

private:
    using DeleteFn = BOOL(WINAPI*)(HGDIOBJ);
    static inline DeleteFn real_ = nullptr;

    static BOOL WINAPI Watch(HGDIOBJ h)
    {
        if (GetObjectType(h) == OBJ_BITMAP) {
            // A bitmap is in one DC at a time: a scratch DC is refused it while another holds it.
            HDC scratch = CreateCompatibleDC(nullptr);
            if (HGDIOBJ old = SelectObject(scratch, h))
                SelectObject(scratch, old);
            else
                ++heldAtDelete;
            DeleteDC(scratch);
        }
        return real_(h);
    }
    static void** ImportSlot()
    {
        real_ = reinterpret_cast<DeleteFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "DeleteObject")));
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* nt =
            reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->Name; ++d)
            for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t)
                if (t->u1.Function == reinterpret_cast<ULONG_PTR>(real_))
                    return reinterpret_cast<void**>(&t->u1.Function);
        return nullptr;
    }
    void Patch(void* to)
    {
        DWORD was = 0;
        if (slot_ && VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &was)) {
            *slot_ = to;
            VirtualProtect(slot_, sizeof *slot_, was, &was);
        }
    }
    void** slot_;
};

class ViewTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const FileEntry& e : FileList().Table.Entries())
            ClosePictureView(e.Path);
        FileList() = FileListState{};
    }
    // A picture entry with its window open; null when none opened.
    HWND Open(int w, int h)
    {
        const std::string path = dir.Write(std::to_string(++serial) + ".bmp", Bmp(w, h));
        if (!OpenPictureView(FileList().Table.Append(path, FileKind::Picture)))
            return nullptr;
        const int slot = FindViewByName(path);
        return slot ? ViewSlotAt(slot).Window->Hwnd() : nullptr;
    }
    static void Press(HWND w, UINT down, int x, int y)
    {
        SendMessageA(w, down, down == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    static void Strip(HWND view, int x) // a click on a button of the tool strip
    {
        Press(view, WM_LBUTTONDOWN, x, 10);
        Press(view, WM_LBUTTONUP, x, 10);
    }
    // The clipboard's bitmap as "W x H", or "none"; then emptied.
    static std::string TakeClip()
    {
        std::string got = "none";
        if (!OpenClipboard(nullptr))
            return "busy";
        BITMAP info{};
        if (HANDLE b = GetClipboardData(CF_BITMAP); b && GetObjectA(b, sizeof info, &info))
            got = std::to_string(info.bmWidth) + " x " + std::to_string(info.bmHeight);
        EmptyClipboard();
        CloseClipboard();
        return got;
    }

    test::TempFolder dir;
    int serial = 0;
};

} // namespace

TEST_F(ViewTest, ClosedWindowsDeleteNoBitmapStillInADc)
{
    DeleteWatch watch;
    ASSERT_TRUE(watch) << "DeleteObject not found in the import table";
    {
        // The watch itself: a bitmap deleted in its DC is seen.
        HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
        HBITMAP held = CreateCompatibleBitmap(screen, 4, 4);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, held);
        DeleteObject(held);
        EXPECT_EQ(DeleteWatch::heldAtDelete, 1) << "the watch misses a bitmap deleted in its DC";
        SelectObject(dc, old);
        DeleteObject(held);
        DeleteDC(dc);
        DeleteWatch::heldAtDelete = 0;
    }
    // Closed by the user, after a resize (a new surface), and by the list model.
    HWND user = Open(40, 30), resized = Open(50, 20), listed = Open(20, 20);
    ASSERT_TRUE(user && resized && listed);
    SendMessageA(user, WM_CLOSE, 0, 0);
    SetWindowPos(resized, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(resized, WM_CLOSE, 0, 0);
    ClosePictureView(FileList().Table.At(1).Path);
    EXPECT_FALSE(IsWindow(user) || IsWindow(resized) || IsWindow(listed));
    EXPECT_EQ(DeleteWatch::heldAtDelete, 0) << "bitmaps deleted while still selected into a DC";
}

// Another window taking the mouse (Alt+Tab mid-drag) ends a drag and a copy
// press, in both windows that capture it.
TEST_F(ViewTest, LosingTheMouseEndsWhatThePressStarted)
{
    HWND view = Open(64, 64);
    ASSERT_TRUE(view);
    HWND area = FindWindowExA(view, nullptr, View::AreaClassName, nullptr);
    HWND vBar = FindWindowExA(view, nullptr, "ScrollBar", nullptr);
    constexpr int SelectTool = 130, CopyButton = 150, HandTool = 205;

    Strip(view, SelectTool); // the 64 x 64 picture is centred, its corner above and left of (30, 30)
    Press(area, WM_LBUTTONDOWN, 30, 30);
    Press(area, WM_LBUTTONUP, 34, 36);
    Strip(view, CopyButton);
    EXPECT_EQ(TakeClip(), "4 x 6") << "a copy press held to its release";
    Press(view, WM_LBUTTONDOWN, CopyButton, 10);
    ReleaseCapture();
    Press(view, WM_LBUTTONUP, CopyButton, 10);
    EXPECT_EQ(TakeClip(), "none") << "a copy press that lost the mouse";

    HWND combo = FindWindowExA(view, nullptr, "ComboBox", nullptr);
    SendMessageA(combo, CB_SETCURSEL, 4, 0); // 300%: room to scroll
    SendMessageA(view, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    Strip(view, HandTool);
    Press(area, WM_LBUTTONDOWN, 60, 60);
    Press(area, WM_MOUSEMOVE, 60, 50);
    EXPECT_EQ(GetScrollPos(vBar, SB_CTL), 10) << "the picture follows a held hand";
    ReleaseCapture();
    Press(area, WM_MOUSEMOVE, 60, 20);
    EXPECT_EQ(GetScrollPos(vBar, SB_CTL), 10) << "the picture follows the pointer after the mouse was lost";
}

TEST_F(ViewTest, RedrawSwitchScopesNest)
{
    {
        ViewLoadingScope tool;
        {
            ViewLoadingScope inner;
        }
        EXPECT_TRUE(ViewLoading) << "an inner scope switched it off";
        EXPECT_TRUE(Open(8, 8));
        EXPECT_TRUE(ViewLoading) << "a window opened inside the scope switched it off";
    }
    EXPECT_FALSE(ViewLoading);
}
