// A picture file decoded by the platform's picture loader (BMP, GIF, JPEG),
// held once at 1:1 in a memory DC for the life of its window.
#pragma once
#include <windows.h>

#include <string>

#include "core/win_handles.h"

struct IPicture;

namespace lt {

class PictureImage {
public:
    PictureImage() = default;
    PictureImage(const PictureImage&) = delete;
    PictureImage& operator=(const PictureImage&) = delete;
    PictureImage(PictureImage&& o) noexcept;
    PictureImage& operator=(PictureImage&& o) noexcept;
    ~PictureImage();

    // False (and nothing held) when the file cannot be read or decoded.
    bool Load(const std::string& path);

    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    explicit operator bool() const { return dc_ && width_ > 0 && height_ > 0; }

private:
    void Reset();

    IPicture* picture_ = nullptr; // owns the bitmap selected into dc_
    MemoryDc dc_;
    HGDIOBJ oldBitmap_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace lt
