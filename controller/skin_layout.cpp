#include "controller/skin_layout.h"

#include "core/file_kind_rules.h"

namespace lt {

namespace {

struct FilterArea {
    int Left, Right;
    std::int16_t Filter;
    int MarkerX;
};

constexpr std::array<FilterArea, 5> FilterRow{{
    {0, 72, FilterAll, 15},
    {73, 137, static_cast<std::int16_t>(FileKind::Picture), 75},
    {138, 193, static_cast<std::int16_t>(FileKind::Midi), 142},
    {194, 249, static_cast<std::int16_t>(FileKind::Wave), 197},
    {250, 313, static_cast<std::int16_t>(FileKind::Movie), 253},
}};

constexpr int FilterRowTop = 188, FilterRowBottom = 208;

// Button i is pressed on x in [2 + 59i, 60 + 59i], y 0..19; it is released
// on the same x span (the first one from x 1), y 0..20.
constexpr int PressLeft(int i)
{
    return ButtonX(i);
}
constexpr int AreaRight(int i)
{
    return ButtonX(i) + ButtonWidth - 1;
}
constexpr int ReleaseLeft(int i)
{
    return i == 0 ? 1 : ButtonX(i);
}

} // namespace

PressHit HitPress(int x, int y)
{
    if (y >= FilterRowTop && y <= FilterRowBottom) {
        for (const FilterArea& area : FilterRow)
            if (x >= area.Left && x <= area.Right)
                return {PressHit::Target::Filter, -1, area.Filter};
    }
    if (y >= 0 && y <= 19) {
        for (int i = 0; i < ButtonCount; ++i)
            if (x >= PressLeft(i) && x <= AreaRight(i))
                return {PressHit::Target::Button, i, 0};
    }
    return {PressHit::Target::Pin, -1, 0};
}

int HitRelease(int x, int y, const PressedFlags& pressed)
{
    if (y < 0 || y > 20)
        return -1;
    for (int i = 0; i < ButtonCount; ++i)
        if (pressed[static_cast<std::size_t>(i)] && x >= ReleaseLeft(i) && x <= AreaRight(i))
            return i;
    return -1;
}

int FilterMarkerX(std::int16_t filter)
{
    for (const FilterArea& area : FilterRow)
        if (area.Filter == filter)
            return area.MarkerX;
    return 0;
}

} // namespace lt
