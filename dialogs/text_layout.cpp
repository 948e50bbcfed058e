#include "dialogs/text_layout.h"

#include "core/text_rules.h"

namespace lt {

int CenteredStart(int position, int extent)
{
    return static_cast<int>(RoundHalfEven(position - extent / 2.0));
}

namespace {

// Byte offsets where the characters of text start, plus its end.
std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    std::size_t i = 0;
    while (i < text.size()) {
        starts.push_back(i);
        // A lead byte with nothing after it stands alone.
        i += (IsSjisLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

} // namespace

std::vector<TextLine> WrapText(std::string_view text, const TextBox& box, int lineHeight, const MeasureText& measure)
{
    std::vector<TextLine> lines;
    // A zero line height would never reach the bottom.
    const int step = lineHeight > 0 ? lineHeight : 1;
    const int bottom = box.Top + box.Height;
    int y = box.Top;
    std::string_view rest = text;
    while (true) {
        const std::vector<std::size_t> starts = CharacterStarts(rest);
        const std::size_t count = starts.size() - 1;
        bool ended = false;
        std::size_t cut = 0, drop = 0;
        // The width of the first i characters, summed as they are measured:
        // text extents add up character by character, and measuring each
        // prefix anew would cost the square of the line's length.
        int w = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const int c = measure(rest.substr(starts[i], starts[i + 1] - starts[i]));
            if (w + c > box.Width) {
                ended = true;
                cut = drop = starts[i];
                break;
            }
            if (rest.substr(starts[i]).starts_with("\r\n")) {
                ended = true;
                cut = starts[i];
                drop = cut + 2;
                break;
            }
            w += c;
        }
        if (!ended) {
            lines.push_back({std::string(rest), box.Left, y});
            return lines;
        }
        lines.push_back({std::string(rest.substr(0, cut)), box.Left, y});
        rest.remove_prefix(drop);
        y += step;
        if (y >= bottom || rest.empty())
            return lines;
    }
}

} // namespace lt
