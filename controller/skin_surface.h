// The controller's drawing surface: the skin picture with its overlays
// (filter marker, pressed buttons, tack) composed into a memory bitmap.
#pragma once
#include <windows.h>

#include <cstdint>

#include "controller/skin_layout.h"
#include "core/win_handles.h"

namespace lt {

struct SkinState {
    std::int16_t Filter;
    PressedFlags Pressed;
    bool Pinned;
};

class SkinSurface {
public:
    bool Load(HINSTANCE instance);
    // Clears back to the skin picture and draws the overlays.
    void Compose(const SkinState& state);
    void Paint(HDC target, const RECT& area) const;

private:
    GdiObject background_, buttons_, marker_, tack_;
    GdiObject surface_;
    MemoryDc surfaceDc_;
};

} // namespace lt
