// What the tag editor shows of an MP3 piece and how it fills the tag record.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "ltmp3/ltmp3_records.h"

namespace lt {

// "有り" for a flag of exactly 1, else "無し".
std::string YesNo(std::int32_t flag);

struct InfoLine {
    int Y;
    std::string Text;
};

// The stream information lines, top to bottom.
std::vector<InfoLine> MpegInfoLines(const Ltmp3MpegInfo& info);

// A fixed field as a text box shows it: up to its first NUL.
template <std::size_t N> std::string FieldText(const char (&field)[N])
{
    std::string_view all(field, N);
    return std::string(all.substr(0, all.find('\0')));
}

// text cut to width bytes (never inside a double-byte character) and padded
// with spaces to width.
std::string PadField(std::string_view text, std::size_t width);

// The year as stored: the leading number of the typed text in decimal
// ("98abc" -> "98", nothing -> "0"), cut or padded to 5.
std::string YearField(std::string_view typed);

// Title, artist, album, year and comment into the record; the genre stays.
void FillTag(Ltmp3TagInfo& tag, std::string_view title, std::string_view artist, std::string_view album,
             std::string_view year, std::string_view comment);

} // namespace lt
