// Small text rules shared across the program. Texts are ANSI byte strings
// (Shift-JIS on the systems we target); lengths are byte counts.
#pragma once
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace lt {

// Drops the trailing run of spaces and NULs that platform calls leave behind.
std::string TrimPadding(std::string_view text);

// Left-pads with '0' up to width; longer texts come back unchanged.
std::string ZeroPad(std::string_view text, std::size_t width);

// The text before the first NUL, or all of it.
std::string CutAtNul(std::string_view text);

// Longest leading number (blanks skipped, optional sign, digits, one decimal
// point); 0 when there is none. "12.5x" -> 12.5, "abc" -> 0.
double LeadingNumber(std::string_view text);

// The whole text as a number (same grammar, blanks allowed around it), or
// nothing when anything else is in it. " 12 " -> 12, "12x" and "" -> none.
std::optional<double> WholeNumber(std::string_view text);

// Nearest whole number, halves to even (12.5 -> 12, 13.5 -> 14, -2.5 -> -2).
std::int64_t RoundHalfEven(double value);

// The same as an int, held within int's range: for pixel coordinates.
int RoundHalfEvenInt(double value);

// True for a Shift-JIS lead byte (0x81..0x9F, 0xE0..0xFC): it and the next
// byte form one character.
bool IsSjisLead(unsigned char byte);

// Upper-cases ASCII letters only; lead and trail bytes of double-byte
// characters are left as they are.
std::string AsciiUpper(std::string_view text);

// True when path ends with suffix, ASCII letters compared without case. The
// suffix must start on a character boundary, so the trail byte of a
// double-byte character never counts as a letter.
bool EndsWithNoCase(std::string_view path, std::string_view suffix);

} // namespace lt

namespace lt {

// A number typed or stored as text: its leading number, rounded (halves to
// even) and held within T's range ("12abc" -> 12, "abc" -> 0, "2.5" -> 2).
template <typename T> T LeadingWhole(std::string_view text)
{
    const std::int64_t v = RoundHalfEven(LeadingNumber(text));
    constexpr auto lo = static_cast<std::int64_t>(std::numeric_limits<T>::min());
    constexpr auto hi = static_cast<std::int64_t>(std::numeric_limits<T>::max());
    return static_cast<T>(v < lo ? lo : v > hi ? hi : v);
}

} // namespace lt
