// One tick of the controller's pointer watch: hide when the pointer has left
// the window, show when it enters the trigger rectangle.
#pragma once
#include <cstdint>
#include <vector>

namespace lt {

// Screen pixels; all four edges inclusive.
struct TriggerRect {
    std::int32_t XStart = 0, XEnd = 0, YStart = 0, YEnd = 0;
};

struct AppearanceInput {
    std::int32_t X = 0, Y = 0;                       // pointer, pixels
    double Left = 0, Top = 0, Width = 0, Height = 0; // window, twips
    double Tppx = 15, Tppy = 15;                     // twips per pixel
    bool Shown = false;
    bool Pinned = false;
    bool FolderBusy = false;     // folder browser up
    bool SettingsOpen = false;   // settings panel open
    bool OpenDialogBusy = false; // file-open dialog up
    std::int16_t LeaveCounter = 0;
    TriggerRect Trigger;
};

enum class AppearanceAction {
    HideAndClearPressed, // hide the window and clear the six button-pressed flags
    Show,
    Refresh,
};

struct AppearanceResult {
    bool Shown = false;
    std::int16_t LeaveCounter = 0;
    std::vector<AppearanceAction> Actions; // to be carried out in this order
};

// True when the pointer lies outside the window by the mixed rules: right and
// below compare against the exact pixel edge; above and left compare against
// rounded twips divided as whole numbers. A factor that is (or rounds to)
// zero never puts the pointer outside on that side.
bool PointerOutsideWindow(const AppearanceInput& in);

bool InTrigger(const TriggerRect& r, std::int32_t x, std::int32_t y);

AppearanceResult AppearanceTick(const AppearanceInput& in);

} // namespace lt
