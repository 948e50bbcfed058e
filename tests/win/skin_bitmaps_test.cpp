// The skin pictures are stored run-length encoded where that is smaller. The platform's loader must give exactly the
// pixels the file holds, both as a DIB section (the controller, the tool strip) and as a device bitmap (the settings
// panel); the reference here is a decoder of the file's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using Pixels = std::vector<std::uint32_t>; // top row first, 0x00RRGGBB; empty when unreadable

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// 8-bit palette BMP, uncompressed or RLE8; nothing for anything else.
Pixels DecodeBmp8(const std::vector<std::uint8_t>& f)
{
    if (f.size() < 54 || f[28] != 8 || Le32(f, 30) > BI_RLE8)
        return {};
    const std::uint32_t offBits = Le32(f, 10), palette = 14 + Le32(f, 14);
    const std::size_t w = Le32(f, 18), h = Le32(f, 22);
    std::vector<std::uint8_t> idx(w * h);
    if (Le32(f, 30) == BI_RGB) {
        for (std::size_t y = 0; y < h; ++y)
            std::memcpy(&idx[y * w], &f[offBits + y * ((w + 3) & ~3u)], w);
    } else {
        std::size_t p = offBits, x = 0, y = 0; // y counts rows from the bottom, as stored
        while (p + 1 < f.size() && y < h) {
            const int n = f[p], v = f[p + 1];
            p += 2;
            if (n > 0) {
                for (int i = 0; i < n && x < w; ++i)
                    idx[y * w + x++] = static_cast<std::uint8_t>(v);
            } else if (v == 0) {
                x = 0, ++y;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
                x += f[p], y += f[p + 1];
                p += 2;
            } else {
                for (int i = 0; i < v && x < w; ++i)
                    idx[y * w + x++] = f[p + i];
                p += (v + 1) & ~1;
            }
        }
    }
    Pixels out;
    for (std::size_t y = h; y-- > 0;)
        for (std::size_t x = 0; x < w; ++x)
            out.push_back(Le32(f, palette + 4 * idx[y * w + x]) & 0xFFFFFF);
    return out;
}

Pixels Load(const std::string& path, UINT flags)
{
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | flags));
    BITMAP info{};
    if (!bmp || !GetObjectA(bmp, sizeof info, &info))
        return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    Pixels out(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bmp, 0, info.bmHeight, out.data(), &bi, DIB_RGB_COLORS) != info.bmHeight)
        out.clear();
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);
    for (auto& p : out)
        p &= 0xFFFFFF;
    return out;
}

} // namespace

TEST(SkinBitmaps, LoadWithTheFilesOwnPixels)
{
    bool anyEncoded = false;
    for (const char* name :
         {"controller", "buttons", "filter_point", "tack", "settings_back", "settings_options", "tool_icons"}) {
        const std::string path = std::string("Z:" LT_SKIN_DIR "/") + name + ".bmp";
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        const Pixels expected = DecodeBmp8(file);
        ASSERT_FALSE(expected.empty()) << name << ": not an 8-bit palette BMP";
        anyEncoded = anyEncoded || Le32(file, 30) == BI_RLE8;
        for (UINT flags : {UINT(LR_CREATEDIBSECTION), UINT(0)})
            EXPECT_TRUE(Load(path, flags) == expected) << name << " flags " << flags; // the size is in the count
    }
    EXPECT_TRUE(anyEncoded) << "the large skins are expected run-length encoded";
}
