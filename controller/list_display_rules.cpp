#include "controller/list_display_rules.h"

#include <algorithm>

#include "core/text_rules.h"

namespace lt {

namespace {

// Single-byte characters of 7 pixels; 45 of them fill the 337-pixel list.
constexpr int CharWidth = 7;
constexpr int ListWidth = 337;
constexpr int CharsThatFit = 45;

} // namespace

std::string ListLineText(int index, std::string_view path)
{
    std::string text = ZeroPad(std::to_string(index), 4);
    text += ' ';
    text += path;
    return text;
}

ListDisplay BuildListDisplay(const FileTable& table, std::int16_t filter, std::string_view select, int firstIndex)
{
    ListDisplay out;
    for (int i = std::max(firstIndex, 1); i <= table.Count(); ++i) {
        const FileEntry& entry = table.At(i);
        if (filter != FilterAll && static_cast<std::int16_t>(entry.Kind) != filter)
            continue;
        out.Lines.push_back(ListLine{ListLineText(i, entry.Path), i});
        out.Widest = std::max(out.Widest, static_cast<int>(out.Lines.back().Text.size()));
        if (!select.empty() && entry.Path == select)
            out.Chosen = static_cast<int>(out.Lines.size()) - 1;
    }
    return out;
}

int HorizontalExtent(int widestBytes)
{
    return (widestBytes - CharsThatFit) * CharWidth + ListWidth;
}

} // namespace lt
