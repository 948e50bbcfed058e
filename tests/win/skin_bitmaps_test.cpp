// The skin pictures are stored run-length encoded where that is smaller. The
// platform's loader must give exactly the pixels the file holds, both as a
// DIB section (the controller, the tool strip) and as a device bitmap (the
// settings panel); the reference here is a decoder of the file's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct Decoded {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels; // top row first, 0x00RRGGBB
};

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// 8-bit palette BMP, uncompressed or RLE8; an empty result for anything else.
Decoded DecodeBmp8(const std::vector<std::uint8_t>& f)
{
    Decoded out;
    if (f.size() < 54 || f[28] != 8)
        return out;
    const std::uint32_t offBits = Le32(f, 10), headerSize = Le32(f, 14), compression = Le32(f, 30);
    const int w = static_cast<int>(Le32(f, 18)), h = static_cast<int>(Le32(f, 22));
    std::uint32_t colours = Le32(f, 46);
    if (colours == 0)
        colours = 256;
    std::vector<std::uint32_t> palette(colours);
    for (std::uint32_t i = 0; i < colours; ++i)
        palette[i] = Le32(f, 14 + headerSize + 4 * i) & 0xFFFFFF;
    std::vector<std::uint8_t> idx(static_cast<std::size_t>(w) * h);
    if (compression == BI_RGB) {
        const int stride = (w + 3) & ~3;
        for (int y = 0; y < h; ++y)
            std::memcpy(&idx[static_cast<std::size_t>(y) * w], &f[offBits + static_cast<std::size_t>(y) * stride], w);
    } else if (compression == BI_RLE8) {
        std::size_t p = offBits;
        int x = 0, y = 0; // y counts rows from the bottom, as stored
        while (p + 1 < f.size() && y < h) {
            const int n = f[p], v = f[p + 1];
            p += 2;
            if (n > 0) {
                for (int i = 0; i < n && x < w; ++i)
                    idx[static_cast<std::size_t>(y) * w + x++] = static_cast<std::uint8_t>(v);
            } else if (v == 0) {
                x = 0, ++y;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
                x += f[p], y += f[p + 1];
                p += 2;
            } else {
                for (int i = 0; i < v && x < w; ++i)
                    idx[static_cast<std::size_t>(y) * w + x++] = f[p + i];
                p += (v + 1) & ~1;
            }
        }
    } else {
        return out;
    }
    out.Width = w, out.Height = h;
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x)
            out.Pixels.push_back(palette[idx[static_cast<std::size_t>(y) * w + x]]);
    return out;
}

Decoded Load(const std::string& path, UINT flags)
{
    Decoded out;
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | flags));
    if (!bmp)
        return out;
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    out.Pixels.resize(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bmp, 0, info.bmHeight, out.Pixels.data(), &bi, DIB_RGB_COLORS) == info.bmHeight)
        out.Width = info.bmWidth, out.Height = info.bmHeight;
    ReleaseDC(nullptr, screen);
    DeleteObject(bmp);
    for (auto& p : out.Pixels)
        p &= 0xFFFFFF;
    return out;
}

} // namespace

TEST(SkinBitmaps, LoadWithTheFilesOwnPixels)
{
    bool anyEncoded = false;
    for (const char* name : {"controller", "buttons", "filter_point", "tack", "settings_back", "settings_options",
                             "tool_icons"}) {
        std::string path = "Z:" LT_SKIN_DIR "/";
        path.append(name).append(".bmp");
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        const Decoded expected = DecodeBmp8(file);
        ASSERT_GT(expected.Width, 0) << name << ": not an 8-bit palette BMP";
        anyEncoded = anyEncoded || Le32(file, 30) == BI_RLE8;
        for (UINT flags : {UINT(LR_CREATEDIBSECTION), UINT(0)}) {
            const Decoded got = Load(path, flags);
            EXPECT_EQ(std::make_pair(got.Width, got.Height), std::make_pair(expected.Width, expected.Height))
                << name << " flags " << flags;
            EXPECT_TRUE(got.Pixels == expected.Pixels) << name << " flags " << flags;
        }
    }
    EXPECT_TRUE(anyEncoded) << "the large skins are expected run-length encoded";
}
