// The player's pictures, each selected into a memory DC of its own so that
// drawing a frame is nothing but BitBlt.
#pragma once
#include <windows.h>

#include "core/win_handles.h"

namespace lt {

class SkinPicture {
public:
    bool Take(HBITMAP bitmap); // owns it; false for null
    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    GdiObject bitmap_;
    MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
    int width_ = 0, height_ = 0;

public:
    SkinPicture() = default;
    SkinPicture(const SkinPicture&) = delete;
    SkinPicture& operator=(const SkinPicture&) = delete;
    ~SkinPicture()
    {
        if (dc_ && old_)
            SelectObject(dc_.get(), old_);
    }
};

struct PlayerSkin {
    SkinPicture Background; // the window's picture (JPEG)
    SkinPicture Btns, Play, MiniBtns, Reset, Scl, Vol, Wd, MusicType, Tim;
    // False when any picture is missing; whatever loaded is kept.
    bool Load(HINSTANCE instance);
};

// A picture stored as JPEG data among the program's resources, decoded by
// the platform's picture loader; null when it cannot be.
HBITMAP LoadJpegResource(HINSTANCE instance, int id);

// A blank bitmap compatible with the screen.
HBITMAP MakeScreenBitmap(int width, int height);

} // namespace lt
