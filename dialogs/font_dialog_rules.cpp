#include "dialogs/font_dialog_rules.h"

#include "core/text_rules.h"

namespace lt {

namespace {
constexpr double PointsPerInch = 72.0;
constexpr std::int32_t BoldWeight = 700;
} // namespace

std::int32_t FontHeightForPoints(std::int32_t points, int dpi)
{
    return static_cast<std::int32_t>(RoundHalfEven(static_cast<double>(points) * dpi / PointsPerInch));
}

std::int32_t PointsFromTenths(std::int32_t tenths)
{
    return static_cast<std::int32_t>(RoundHalfEven(tenths / 10.0));
}

bool IsBoldWeight(std::int32_t weight)
{
    return weight >= BoldWeight;
}

std::array<char, FaceNameSize> FaceNameField(std::string_view name)
{
    std::array<char, FaceNameSize> field{};
    std::size_t n = 0;
    while (n < name.size() && name[n] != '\0') {
        const std::size_t step = IsSjisLead(static_cast<unsigned char>(name[n])) && n + 1 < name.size() ? 2 : 1;
        if (n + step > FaceNameSize - 1)
            break;
        for (std::size_t i = 0; i < step; ++i)
            field[n + i] = name[n + i];
        n += step;
    }
    return field;
}

} // namespace lt
