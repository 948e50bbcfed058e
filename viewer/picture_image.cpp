#include "viewer/picture_image.h"

#include <ocidl.h>
#include <olectl.h>

#include <span>
#include <utility>

#include "core/win_handles.h"
#include "viewer/picture_header.h"

namespace lt {

namespace {

// Picture files larger than this are not read into memory.
constexpr DWORD MaxPictureFileBytes = 256u * 1024 * 1024;

// The loader decodes GIF and JPEG through COM components.
void EnsureCom()
{
    static const HRESULT once = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)once;
}

// The whole file in movable global memory, as a stream wants it.
HGLOBAL ReadWhole(const std::string& path, DWORD& size)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    DWORD high = 0;
    size = GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > MaxPictureFileBytes)
        return nullptr;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem)
        return nullptr;
    void* bytes = GlobalLock(mem);
    DWORD got = 0;
    bool ok = bytes && ReadFile(file.get(), bytes, size, &got, nullptr) && got == size &&
              PlausiblePictureHeader(std::span(static_cast<const std::uint8_t*>(bytes), size));
    if (bytes)
        GlobalUnlock(mem);
    if (!ok) {
        GlobalFree(mem);
        return nullptr;
    }
    return mem;
}

} // namespace

PictureImage::PictureImage(PictureImage&& o) noexcept
    : picture_(std::exchange(o.picture_, nullptr)), dc_(std::move(o.dc_)),
      oldBitmap_(std::exchange(o.oldBitmap_, nullptr)), width_(std::exchange(o.width_, 0)),
      height_(std::exchange(o.height_, 0))
{
}

PictureImage& PictureImage::operator=(PictureImage&& o) noexcept
{
    if (this != &o) {
        Reset();
        picture_ = std::exchange(o.picture_, nullptr);
        dc_ = std::move(o.dc_);
        oldBitmap_ = std::exchange(o.oldBitmap_, nullptr);
        width_ = std::exchange(o.width_, 0);
        height_ = std::exchange(o.height_, 0);
    }
    return *this;
}

PictureImage::~PictureImage()
{
    Reset();
}

void PictureImage::Reset()
{
    // The bitmap leaves the DC before its owner frees it.
    if (dc_ && oldBitmap_)
        SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    dc_.reset();
    if (picture_)
        picture_->Release();
    picture_ = nullptr;
    width_ = height_ = 0;
}

bool PictureImage::Load(const std::string& path)
{
    Reset();
    EnsureCom();
    DWORD size = 0;
    HGLOBAL mem = ReadWhole(path, size);
    if (!mem)
        return false;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) {
        GlobalFree(mem);
        return false;
    }
    IPicture* picture = nullptr;
    HRESULT hr =
        OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture)
        return false;
    picture_ = picture;

    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) || !handle) {
        Reset();
        return false;
    }
    HBITMAP bitmap = HandleFromOle<HBITMAP>(handle);
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0) {
        Reset();
        return false;
    }
    HDC screen = GetDC(nullptr);
    dc_.reset(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!dc_) {
        Reset();
        return false;
    }
    oldBitmap_ = SelectObject(dc_.get(), bitmap);
    if (!oldBitmap_) {
        Reset();
        return false;
    }
    width_ = info.bmWidth;
    height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return true;
}

} // namespace lt
