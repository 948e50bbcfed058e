// Where the text helpers put their texts: centring and the line breaking of
// a text wrapped into a rectangle. Texts are ANSI (Shift-JIS) bytes; widths
// come from the caller's measure, in the surface's units.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

using MeasureText = std::function<int(std::string_view)>;

// Start of a text of the given extent centred on position (halves to even).
int CenteredStart(int position, int extent);

struct TextLine {
    std::string Text;
    int X, Y;
};

struct TextBox {
    int Left, Top, Width, Height;
};

// The lines of text wrapped into box: a line ends after the last character
// that fits, or at "\r\n"; lines go down by lineHeight until the box's bottom
// is reached. A character is never split.
std::vector<TextLine> WrapText(std::string_view text, const TextBox& box, int lineHeight, const MeasureText& measure);

} // namespace lt
