#include "viewer/picture_header.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 2 x 2 24-bit BMP: file header, info header, two padded rows.
std::vector<std::uint8_t> Bmp()
{
    std::vector<std::uint8_t> b(14 + 40 + 16, 0);
    b[0] = 'B';
    b[1] = 'M';
    for (auto [at, v] : {std::pair<std::size_t, std::uint32_t>{2, 70}, {10, 54}, {14, 40}, {18, 2}, {22, 2}, {26, 1}})
        Put32(b, at, v);
    b[28] = 24;
    return b;
}

TEST(PictureHeader, BmpHeadersMustFitTheFile)
{
    struct Row {
        std::size_t at;
        std::uint32_t value;
        bool want;
    };
    const std::vector<Row> rows = {
        {14, 40, true},          // as made
        {14, 0x7FFFFFF0, false}, // info header larger than the file
        {14, 124, false},        // a known size that does not fit this file
        {14, 41, false},         // no such header
        {10, 5000, false},       // pixels beyond the end
        {18, 0, false},          // no width
        {22, 0xFFFFFFFE, true},  // top-down rows
        {18, 40000, false},      // wider than a view can show
        {28, 7, false},          // no such depth
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::uint8_t> b = Bmp();
        Put32(b, rows[r].at, rows[r].value); // the depth is 16 bits; the bytes after it are 0 anyway
        EXPECT_EQ(PlausiblePictureHeader(b), rows[r].want) << "row " << r;
    }
    std::vector<std::uint8_t> cut = Bmp();
    cut.resize(20);
    EXPECT_FALSE(PlausiblePictureHeader(cut));
    const std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_TRUE(PlausiblePictureHeader(gif)); // left to the decoder
}

} // namespace
} // namespace lt
