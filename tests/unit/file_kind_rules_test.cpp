#include "core/file_kind_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

FileKind Kind(const std::string& bytes)
{
    return KindFromHead({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

TEST(FileKindRules, KindFromHead)
{
    struct Row {
        std::string head;
        FileKind kind;
    };
    const std::vector<Row> rows = {
        {"BM\x36\x10\0\0"s, FileKind::Picture},
        {"GIF89a", FileKind::Picture},
        {"\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01"s, FileKind::Picture},
        {"\xFF\xD8\xFF\xE1\0\x10"
         "Exif\0\0"s,
         FileKind::None},
        {"RIFF\x24\0\0\0WAVEfmt "s, FileKind::Wave},
        {"RIFF\0\0\0\0AVI LIST"s, FileKind::Movie},
        {"RIFF\0\0JFIF\0\0"s, FileKind::Picture},  // unknown form, JFIF at 6
        {"RIFF\0\0\0\0RMIDdata"s, FileKind::None}, // unknown form, no JFIF
        {"MThd\0\0\0\x06"s, FileKind::Midi},
        {"\xFF\xFB\x90\x00"s, FileKind::Mp3},
        {"\xFF\xF3", FileKind::Mp3},
        {"\xFF\xFA\x90\x00"s, FileKind::None},
        {"\xFF\xF2\x90\x00"s, FileKind::None}, // frames with CRC
        {"ID3\x03\0\0\0\0\x10\x00"s, FileKind::None},
        {"LumatroveList Ver1.00\r\n", FileKind::List},
        {"lumatrovelist", FileKind::List},
        {"LUMATROVELIS", FileKind::None},
        {"", FileKind::None},
        {"MTh", FileKind::None},
        {"BM", FileKind::Picture}, // short files: zeros after the end
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(static_cast<int>(Kind(rows[r].head)), static_cast<int>(rows[r].kind)) << "row " << r;
}

} // namespace
} // namespace lt
