// The table of open picture windows and the procedure that opens one for a
// list entry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace lt {

class View;

inline constexpr int ViewSlotCount = 1000;

struct ViewSlot {
    HDC Key = nullptr; // the window's own DC; null when free
    std::string Path;
    bool InUse = false;
    std::int16_t ImageHeight = 0, ImageWidth = 0;
    View* Window = nullptr;
};

// While true no picture window redraws (a window is being set up, or a tool
// changes magnification and scroll position in several steps).
extern bool ViewLoading;

// Sets ViewLoading for a scope and puts back what was there on every way
// out: scopes nest (a window opened while a tool works on another), so none
// may switch it off outright.
class ViewLoadingScope {
public:
    ViewLoadingScope() : was_(std::exchange(ViewLoading, true)) {}
    ~ViewLoadingScope() { ViewLoading = was_; }
    ViewLoadingScope(const ViewLoadingScope&) = delete;
    ViewLoadingScope& operator=(const ViewLoadingScope&) = delete;

private:
    bool was_;
};

// Slot numbers are 1..1000; 0 means none.
int FindFreeView();
int FindViewByDc(HDC dc);
int FindViewByName(std::string_view path);
ViewSlot& ViewSlotAt(int slot);
void FreeViewSlot(int slot);

// Opens a window for list entry entryIndex; false when the picture cannot
// be decoded or every slot is taken (the entry then stays without a window).
bool OpenPictureView(int entryIndex);
// Brings the entry's window to the front, if it has one.
void FocusPictureView(const std::string& path);
// Closes the entry's window without its own close handling (the list model
// is removing the entry).
void ClosePictureView(const std::string& path);

void SetDcBack(HDC dc, bool transparent, COLORREF colour);

} // namespace lt
