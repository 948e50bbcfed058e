#include "dialogs/cdl_font_class.h"

#include <cstring>

#include "dialogs/font_dialog_rules.h"

namespace lt {

namespace {

static_assert(sizeof(LOGFONTA) == 60);
// The platform checks the record's size: 60 bytes on 32-bit, 104 on 64-bit.
static_assert(sizeof(CHOOSEFONTA) == (sizeof(void*) == 4 ? 60 : 104));

// Movable, zero-filled memory, locked while this lives.
class LockedGlobal {
public:
    explicit LockedGlobal(SIZE_T size) : handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size))
    {
        if (handle_)
            data_ = GlobalLock(handle_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    ~LockedGlobal()
    {
        if (data_)
            GlobalUnlock(handle_);
        if (handle_)
            GlobalFree(handle_);
    }
    void* get() const { return data_; }

private:
    HGLOBAL handle_;
    void* data_ = nullptr;
};

int ScreenDpiY()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

} // namespace

FontDialogResult CdlFontClass::ShowFont()
{
    extendedError_ = 0;
    LOGFONTA font{};
    // Negative: the character height, so the dialog opens on the size set
    // here (a positive height would be matched against the taller cell).
    font.lfHeight = -FontHeightForPoints(FontSize, ScreenDpiY());
    font.lfWeight = FontBold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FontItalic ? 1 : 0;
    font.lfUnderline = FontUnderline ? 1 : 0;
    font.lfStrikeOut = FontStrikethru ? 1 : 0;
    const auto face = FaceNameField(FontName);
    std::memcpy(font.lfFaceName, face.data(), face.size());

    LockedGlobal memory(sizeof font);
    if (!memory.get())
        return FontDialogResult::NoChoice;
    auto* record = static_cast<LOGFONTA*>(memory.get());
    *record = font;

    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = hWnd;
    choose.lpLogFont = record;
    choose.iPointSize = FontSize * 10;
    choose.Flags = Flags | CF_INITTOLOGFONTSTRUCT;
    choose.rgbColors = Color;
    choose.nSizeMin = Min;
    choose.nSizeMax = Max;

    const BOOL result = choose_(&choose);
    if (result == 0) {
        // The platform tells a failure from a cancel only by its extended error.
        extendedError_ = CommDlgExtendedError();
        if (extendedError_ != 0)
            return FontDialogResult::Failed;
        return CancelError ? FontDialogResult::Cancelled : FontDialogResult::NoChoice;
    }
    const LOGFONTA chosen = *record;
    FontName.assign(chosen.lfFaceName, sizeof chosen.lfFaceName);
    FontSize = PointsFromTenths(choose.iPointSize);
    FontBold = IsBoldWeight(chosen.lfWeight);
    FontItalic = chosen.lfItalic != 0;
    FontStrikethru = chosen.lfStrikeOut != 0;
    FontUnderline = chosen.lfUnderline != 0;
    Color = choose.rgbColors;
    return FontDialogResult::Chosen;
}

} // namespace lt
