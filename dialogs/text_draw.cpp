#include "dialogs/text_draw.h"

#include <cmath>

namespace lt {

TextSurface::~TextSurface()
{
    if (original_)
        SelectObject(dc_, original_);
}

bool TextSurface::Rebuild()
{
    LOGFONTA lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(size_ * GetDeviceCaps(dc_, LOGPIXELSY) / 72.0));
    lf.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic_ ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    if (!font)
        return false;
    HGDIOBJ old = SelectObject(dc_, font);
    if (!original_)
        original_ = old;
    font_.reset(font);
    return true;
}

bool TextSurface::SetFontName(std::string_view name)
{
    if (font_ && name_ == name)
        return true;
    name_ = name;
    return Rebuild();
}

bool TextSurface::SetFontSize(double points)
{
    if (points <= 0)
        return false;
    if (font_ && size_ == points)
        return true;
    size_ = points;
    return Rebuild();
}

bool TextSurface::SetFontBold(bool on)
{
    if (font_ && bold_ == on)
        return true;
    bold_ = on;
    return Rebuild();
}

bool TextSurface::SetFontItalic(bool on)
{
    if (font_ && italic_ == on)
        return true;
    italic_ = on;
    return Rebuild();
}

void TextSurface::Select() const
{
    if (font_)
        SelectObject(dc_, font_.get());
}

int TextSurface::TextWidth(std::string_view text) const
{
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int TextSurface::TextHeight(std::string_view text) const
{
    // An empty text is one line high, like any other.
    if (text.empty())
        text = " ";
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size.cy;
}

void TextSurface::Print(int x, int y, std::string_view text) const
{
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

bool SetTextFont(TextSurface& surface, std::string_view name, double size, bool italic, bool bold, bool colourWanted,
                 COLORREF colour)
{
    if (!surface.SetFontSize(size) || !surface.SetFontItalic(italic) || !surface.SetFontBold(bold))
        return false;
    if (colourWanted)
        surface.SetForeColor(colour);
    return surface.SetFontName(name);
}

void PrintAt(TextSurface& surface, int x, int y, std::string_view text)
{
    surface.Print(x, y, text);
}

void PrintCentered(TextSurface& surface, int x, int y, bool horizontally, bool vertically, std::string_view text)
{
    const int left = horizontally ? CenteredStart(x, surface.TextWidth(text)) : x;
    const int top = vertically ? CenteredStart(y, surface.TextHeight(text)) : y;
    surface.Print(left, top, text);
}

void DrawWrappedText(TextSurface& surface, std::string_view text, double fontSize, const TextBox& box,
                     COLORREF textColour, COLORREF shadowColour, bool withShadow)
{
    surface.SetFontSize(fontSize);
    const int lineHeight = surface.TextHeight("あ");
    const auto measure = [&surface](std::string_view s) { return surface.TextWidth(s); };
    for (const TextLine& line : WrapText(text, box, lineHeight, measure)) {
        if (withShadow) {
            SetTextColor(surface.Dc(), shadowColour);
            surface.Print(line.X + 1, line.Y + 1, line.Text);
        }
        SetTextColor(surface.Dc(), textColour);
        surface.Print(line.X, line.Y, line.Text);
    }
}

void SetDcText(HDC dc, COLORREF colour, bool transparent, COLORREF background)
{
    if (transparent) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, background);
    }
    SetTextColor(dc, colour);
}

} // namespace lt
