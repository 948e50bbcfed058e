// The ID3v1 tag: the last 128 bytes of an MP3 file. Texts are Shift-JIS
// bytes, NUL-padded in the file.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct Ltmp3TagInfo;

namespace ltmp3 {

constexpr std::size_t Id3v1Bytes = 128;

struct Id3v1Tag {
    std::string Title, Artist, Album, Year, Comment;
    int Track = 0;   // ID3v1.1 track number, 0 when none
    int Genre = 255; // 255: no genre
};

// The tag at the end of file, or nothing when the file has none.
std::optional<Id3v1Tag> ReadId3v1(std::span<const std::uint8_t> file);

// The 128 bytes of a tag. Texts are cut to their fields without splitting a
// double-byte character; a track number is kept when the comment leaves room.
std::array<std::uint8_t, Id3v1Bytes> WriteId3v1(const Id3v1Tag& tag);

// "" for numbers without a name.
std::string_view GenreName(int genre);

void TagToRecord(const Id3v1Tag& tag, Ltmp3TagInfo& record);
// Record texts end at their first NUL; trailing blanks are dropped.
Id3v1Tag TagFromRecord(const Ltmp3TagInfo& record);

} // namespace ltmp3
