#include "viewer/view_mdl.h"

#include <vector>

#include "core/file_list.h"
#include "viewer/picture_image.h"
#include "viewer/view_rules.h"
#include "viewer/view_window.h"

namespace lt {

bool ViewLoading = false;

namespace {

// On the heap: a static array of slots holding strings would be stored,
// initialised, in the program file (40 KB of it).
std::vector<ViewSlot> g_slots(ViewSlotCount);

ScreenMetrics CurrentScreen()
{
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 2 * GetSystemMetrics(SM_CXFRAME),
            2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE)};
}

} // namespace

int FindFreeView()
{
    for (int i = 0; i < ViewSlotCount; ++i)
        if (!g_slots[static_cast<std::size_t>(i)].InUse)
            return i + 1;
    return 0;
}

int FindViewByDc(HDC dc)
{
    if (!dc)
        return 0;
    for (int i = 0; i < ViewSlotCount; ++i)
        if (g_slots[static_cast<std::size_t>(i)].Key == dc)
            return i + 1;
    return 0;
}

int FindViewByName(std::string_view path)
{
    for (int i = 0; i < ViewSlotCount; ++i) {
        const ViewSlot& s = g_slots[static_cast<std::size_t>(i)];
        if (s.InUse && s.Path == path)
            return i + 1;
    }
    return 0;
}

ViewSlot& ViewSlotAt(int slot)
{
    return g_slots[static_cast<std::size_t>(slot - 1)];
}

void FreeViewSlot(int slot)
{
    if (slot >= 1 && slot <= ViewSlotCount)
        ViewSlotAt(slot) = ViewSlot{};
}

namespace {

// The window for an entry, set up and hidden; null when it cannot be made.
View* SetUpPictureView(int entryIndex)
{
    const FileEntry entry = FileList().Table.At(entryIndex);
    if (entry.Path.empty())
        return nullptr;
    const int slot = FindFreeView();
    if (slot == 0)
        return nullptr;
    // Decoded before any window exists: a file that cannot be read leaves
    // nothing half-built behind.
    PictureImage image;
    if (!image.Load(entry.Path) || !MagnificationFits(image.Width(), image.Height(), 100))
        return nullptr;
    const int iw = image.Width(), ih = image.Height();
    const ScreenMetrics screen = CurrentScreen();
    const OuterSize size = PictureWindowSize(iw, ih, screen);
    View* view = View::Create(entry.Path, std::move(image), size,
                              {CentredPosition(screen.Sw, size.Width), CentredPosition(screen.Sh, size.Height)});
    if (!view)
        return nullptr;
    ViewSlot& s = ViewSlotAt(slot);
    s.Path = entry.Path;
    s.InUse = true;
    s.ImageHeight = static_cast<std::int16_t>(ih);
    s.ImageWidth = static_cast<std::int16_t>(iw);
    s.Window = view;
    s.Key = view->OwnDc();
    view->SetInfo(ih, iw);
    return view;
}

} // namespace

bool OpenPictureView(int entryIndex)
{
    View* view = nullptr;
    {
        ViewLoadingScope loading;
        view = SetUpPictureView(entryIndex);
    }
    if (!view)
        return false;
    view->Show();
    view->ReFound();
    return true;
}

void FocusPictureView(const std::string& path)
{
    if (int slot = FindViewByName(path); slot != 0 && ViewSlotAt(slot).Window)
        ViewSlotAt(slot).Window->Activate();
}

void ClosePictureView(const std::string& path)
{
    const int slot = FindViewByName(path);
    if (slot == 0)
        return;
    View* view = ViewSlotAt(slot).Window;
    FreeViewSlot(slot);
    if (view)
        view->Unload();
}

void SetDcBack(HDC dc, bool transparent, COLORREF colour)
{
    if (transparent) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, colour);
    }
}

} // namespace lt
