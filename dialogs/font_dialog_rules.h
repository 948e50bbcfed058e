// Conversions between the font dialog's records and the font properties.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lt {

inline constexpr int FaceNameSize = 32; // LOGFONT's face-name field, NUL included

// Cell height in pixels for a size in points on a device of dpi pixels per
// inch (halves to even).
std::int32_t FontHeightForPoints(std::int32_t points, int dpi);

// Whole points from the dialog's tenths of a point (halves to even: 105 ->
// 10, 115 -> 12).
std::int32_t PointsFromTenths(std::int32_t tenths);

// Bold from the dialog's weight: 700 or more.
bool IsBoldWeight(std::int32_t weight);

// The face-name field: the name, cut to leave room for its NUL without
// splitting a double-byte character, then NULs.
std::array<char, FaceNameSize> FaceNameField(std::string_view name);

} // namespace lt
