#include "music/player_skin.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "core/win_handles.h"
#include "resources/resource.h"

namespace lt {

bool SkinPicture::Take(HBITMAP bitmap)
{
    if (!bitmap)
        return false;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) {
        DeleteObject(bitmap);
        return false;
    }
    if (dc_ && old_)
        SelectObject(dc_.get(), old_);
    old_ = SelectObject(dc.get(), bitmap);
    dc_ = std::move(dc);
    bitmap_.reset(bitmap);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    return true;
}

HBITMAP LoadJpegResource(HINSTANCE instance, int id)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found)
        return nullptr;
    const DWORD size = SizeofResource(instance, found);
    const void* data = LockResource(LoadResource(instance, found));
    if (!data || size == 0)
        return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    // The picture loader needs COM on this thread; a second call is harmless.
    CoInitialize(nullptr);
    IPicture* picture = nullptr;
    HBITMAP copy = nullptr;
    if (SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)))) {
        OLE_HANDLE handle = 0;
        if (SUCCEEDED(picture->get_Handle(&handle)))
            copy = static_cast<HBITMAP>(CopyImage(HandleFromOle<HBITMAP>(handle),
                                                  IMAGE_BITMAP, 0, 0, 0));
        picture->Release();
    }
    stream->Release();
    return copy;
}

HBITMAP MakeScreenBitmap(int width, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

bool PlayerSkin::Load(HINSTANCE instance)
{
    const auto bmp = [instance](int id) { return LoadBitmapA(instance, MAKEINTRESOURCEA(id)); };
    bool ok = Background.Take(LoadJpegResource(instance, IDR_PLAYER_BACK));
    if (!ok) {
        // Without its picture the player still works on a plain surface.
        HBITMAP plain = MakeScreenBitmap(307, 123);
        if (Background.Take(plain)) {
            RECT all{0, 0, 307, 123};
            FillRect(Background.Dc(), &all, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        }
    }
    ok &= Btns.Take(bmp(IDB_PLAYER_BTNS));
    ok &= Play.Take(bmp(IDB_PLAYER_PLAY));
    ok &= MiniBtns.Take(bmp(IDB_PLAYER_MINI));
    ok &= Reset.Take(bmp(IDB_PLAYER_RESET));
    ok &= Scl.Take(bmp(IDB_PLAYER_SCL));
    ok &= Vol.Take(bmp(IDB_PLAYER_VOL));
    ok &= Wd.Take(bmp(IDB_PLAYER_WD));
    ok &= MusicType.Take(bmp(IDB_PLAYER_TYPE));
    ok &= Tim.Take(bmp(IDB_PLAYER_TIM));
    return ok;
}

} // namespace lt
