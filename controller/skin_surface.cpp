#include "controller/skin_surface.h"

#include "resources/resource.h"

namespace lt {

namespace {

HGDIOBJ LoadSkinBitmap(HINSTANCE instance, int id)
{
    return LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

// Copies a part of a picture onto the surface with a raster operation,
// through a scratch DC that the caller makes once for all its copies.
void Blit(HDC target, HDC scratch, int x, int y, int w, int h, HGDIOBJ picture, int sx, int sy, DWORD rop)
{
    SelectObjectScope select(scratch, picture);
    BitBlt(target, x, y, w, h, scratch, sx, sy, rop);
}

// Mask then image, both with SRCERASE: the background stays where the mask
// is white, the image shows where it is black.
void BlitMasked(HDC target, HDC scratch, int x, int y, int size, HGDIOBJ picture)
{
    Blit(target, scratch, x, y, size, size, picture, 0, size, SRCERASE);
    Blit(target, scratch, x, y, size, size, picture, 0, 0, SRCERASE);
}

} // namespace

bool SkinSurface::Load(HINSTANCE instance)
{
    background_.reset(LoadSkinBitmap(instance, IDB_CONTROLLER));
    buttons_.reset(LoadSkinBitmap(instance, IDB_BUTTONS));
    marker_.reset(LoadSkinBitmap(instance, IDB_FILTER_POINT));
    tack_.reset(LoadSkinBitmap(instance, IDB_TACK));
    HDC screen = GetDC(nullptr);
    surfaceDc_.reset(CreateCompatibleDC(screen));
    surface_.reset(CreateCompatibleBitmap(screen, ControllerWidth, ControllerHeight));
    ReleaseDC(nullptr, screen);
    if (!surfaceDc_ || !surface_)
        return false;
    SelectObject(surfaceDc_.get(), surface_.get());
    return background_ && buttons_ && marker_ && tack_;
}

void SkinSurface::Compose(const SkinState& state)
{
    HDC dc = surfaceDc_.get();
    if (!dc)
        return;
    MemoryDc scratch(CreateCompatibleDC(dc));
    HDC from = scratch.get();
    if (background_)
        Blit(dc, from, 0, 0, ControllerWidth, ControllerHeight, background_.get(), 0, 0, SRCCOPY);
    if (marker_)
        BlitMasked(dc, from, FilterMarkerX(state.Filter), MarkerY, MarkerSize, marker_.get());
    for (int i = 0; i < ButtonCount; ++i)
        if (state.Pressed[static_cast<std::size_t>(i)] && buttons_)
            Blit(dc, from, ButtonX(i), ButtonY, ButtonWidth, ButtonHeight, buttons_.get(), 0, ButtonHeight * i,
                 SRCCOPY);
    if (state.Pinned && tack_)
        BlitMasked(dc, from, TackX, TackY, TackSize, tack_.get());
}

void SkinSurface::Paint(HDC target, const RECT& area) const
{
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, surfaceDc_.get(), area.left,
           area.top, SRCCOPY);
}

} // namespace lt
