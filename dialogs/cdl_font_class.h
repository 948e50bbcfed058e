// The platform's font dialog behind a small property object: set the font
// properties, call ShowFont, read the choice back from the same properties.
// Every property starts empty or zero.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace lt {

enum class FontDialogResult {
    Chosen,    // the properties hold the chosen font
    Cancelled, // closed without a choice while CancelError is set (error 32755)
    NoChoice,  // closed without a choice, or no memory for the records
    Failed,    // the platform reported an error: see ExtendedError()
};

class CdlFontClass {
public:
    // The platform's dialog; tests put their own in place.
    using ChooseFontCall = std::function<BOOL(CHOOSEFONTA*)>;

    CdlFontClass() = default;
    explicit CdlFontClass(ChooseFontCall choose) : choose_(std::move(choose)) {}

    HWND hWnd = nullptr;
    std::string FontName; // after a choice: the 32-character field, NUL padding included
    std::int32_t FontSize = 0; // whole points
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;
    COLORREF Color = 0;
    std::uint32_t Flags = 0; // CF_ bits
    std::int32_t Min = 0, Max = 0; // sizes offered, in points
    bool CancelError = false;

    std::uint32_t ExtendedError() const { return extendedError_; }

    FontDialogResult ShowFont();

private:
    ChooseFontCall choose_ = ChooseFontA;
    std::uint32_t extendedError_ = 0;
};

} // namespace lt
