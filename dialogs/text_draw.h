// Text on a drawing surface (a window's or a memory DC): the font, printing
// at a point, centred, and wrapped into a rectangle with an optional shadow.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "core/win_handles.h"
#include "dialogs/text_layout.h"

namespace lt {

// A DC with the font settings the helpers change one at a time; the font is
// made anew whenever one of them changes.
class TextSurface {
public:
    explicit TextSurface(HDC dc) : dc_(dc) {}
    ~TextSurface();
    TextSurface(const TextSurface&) = delete;
    TextSurface& operator=(const TextSurface&) = delete;

    HDC Dc() const { return dc_; }
    // Puts this surface's font back into the DC (another surface on the same
    // DC may have selected its own).
    void Select() const;
    bool SetFontName(std::string_view name);
    bool SetFontSize(double points);
    bool SetFontBold(bool on);
    bool SetFontItalic(bool on);
    void SetForeColor(COLORREF colour) { SetTextColor(dc_, colour); }

    int TextWidth(std::string_view text) const;
    int TextHeight(std::string_view text) const;
    void Print(int x, int y, std::string_view text) const;

private:
    bool Rebuild();

    HDC dc_;
    std::string name_ = "ＭＳ Ｐゴシック"; // until a face is set
    double size_ = 9;
    bool bold_ = false, italic_ = false;
    GdiObject font_;
    HGDIOBJ original_ = nullptr;
};

// Size, italic, bold, the colour when asked, then the face; false (with the
// settings so far kept) when one of them cannot be made.
bool SetTextFont(TextSurface& surface, std::string_view name, double size, bool italic, bool bold, bool colourWanted,
                 COLORREF colour);
void PrintAt(TextSurface& surface, int x, int y, std::string_view text);
void PrintCentered(TextSurface& surface, int x, int y, bool horizontally, bool vertically, std::string_view text);
void DrawWrappedText(TextSurface& surface, std::string_view text, double fontSize, const TextBox& box,
                     COLORREF textColour, COLORREF shadowColour, bool withShadow);

// Background mode and colours of a DC for printing.
void SetDcText(HDC dc, COLORREF colour, bool transparent, COLORREF background = RGB(255, 255, 255));

} // namespace lt
