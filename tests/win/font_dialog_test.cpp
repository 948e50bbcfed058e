#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <iterator>
#include <string>

#include "dialogs/cdl_font_class.h"

using namespace std::string_literals;

namespace lt {
namespace {

// Stands in for the platform's font dialog: keeps what it was handed, then
// writes its answer into the records as the dialog does.
struct FakeFontDialog {
    BOOL result = TRUE;
    INT pointSize = 0; // tenths
    LONG weight = FW_NORMAL;
    BYTE italic = 0, underline = 0, strike = 0;
    const char* face = "";
    COLORREF color = 0;

    CHOOSEFONTA seen{};
    LOGFONTA seenFont{};

    BOOL Run(CHOOSEFONTA* cf)
    {
        seen = *cf;
        seenFont = *cf->lpLogFont;
        if (result) {
            cf->iPointSize = pointSize;
            cf->rgbColors = color;
            LOGFONTA& lf = *cf->lpLogFont;
            lf.lfWeight = weight;
            lf.lfItalic = italic;
            lf.lfUnderline = underline;
            lf.lfStrikeOut = strike;
            std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
            std::strcpy(lf.lfFaceName, face);
        }
        return result;
    }
};

CdlFontClass With(FakeFontDialog& fake)
{
    return CdlFontClass([&fake](CHOOSEFONTA* cf) { return fake.Run(cf); });
}

TEST(CdlFontClass, RecordsHandedToTheDialog)
{
    FakeFontDialog fake;
    fake.result = FALSE;
    CdlFontClass font = With(fake);
    font.FontName = "ＭＳ Ｐ明朝";
    font.FontSize = 12;
    font.FontBold = true;
    font.FontUnderline = true;
    font.Color = RGB(1, 2, 3);
    font.Flags = CF_SCREENFONTS | CF_EFFECTS;
    font.Min = 6;
    font.Max = 72;
    EXPECT_EQ(font.ShowFont(), FontDialogResult::NoChoice);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(fake.seen.lStructSize, 60u);
    EXPECT_EQ(fake.seen.iPointSize, 120);
    EXPECT_EQ(fake.seen.Flags, static_cast<DWORD>(CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT));
    EXPECT_EQ(fake.seen.rgbColors, RGB(1, 2, 3));
    EXPECT_EQ(fake.seen.nSizeMin, 6);
    EXPECT_EQ(fake.seen.nSizeMax, 72);
    EXPECT_EQ(fake.seenFont.lfHeight, -MulDiv(12, dpi, 72)) << "12 points at " << dpi << " dpi";
    EXPECT_EQ(fake.seenFont.lfWeight, FW_BOLD);
    EXPECT_EQ(fake.seenFont.lfUnderline, 1);
    EXPECT_EQ(fake.seenFont.lfItalic, 0);
    EXPECT_STREQ(fake.seenFont.lfFaceName, "ＭＳ Ｐ明朝");
    // Nothing chosen: the properties stay.
    EXPECT_EQ(font.FontName, "ＭＳ Ｐ明朝");
    EXPECT_EQ(font.FontSize, 12);
    EXPECT_TRUE(font.FontBold);
}

TEST(CdlFontClass, ChoiceComesBackRounded)
{
    struct Row {
        INT tenths;
        LONG weight;
        int size;
        bool bold;
    };
    const Row rows[] = {{105, FW_NORMAL, 10, false}, {115, FW_SEMIBOLD, 12, false}, {90, FW_BOLD, 9, true},
                        {95, FW_HEAVY, 10, true}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        FakeFontDialog fake;
        fake.pointSize = rows[i].tenths;
        fake.weight = rows[i].weight;
        fake.italic = 1;
        fake.strike = 1;
        fake.face = "IPAMincho";
        fake.color = RGB(200, 0, 0);
        CdlFontClass font = With(fake);
        font.FontSize = 9;
        font.FontUnderline = true;
        EXPECT_EQ(font.ShowFont(), FontDialogResult::Chosen) << "row " << i + 1;
        EXPECT_EQ(font.FontSize, rows[i].size) << "row " << i + 1 << ": " << rows[i].tenths << " tenths";
        EXPECT_EQ(font.FontBold, rows[i].bold) << "row " << i + 1 << ": weight " << rows[i].weight;
        EXPECT_TRUE(font.FontItalic && font.FontStrikethru && !font.FontUnderline) << "row " << i + 1;
        EXPECT_EQ(font.Color, RGB(200, 0, 0));
        // The whole field: the name, then NUL padding to 32 characters.
        EXPECT_EQ(font.FontName, "IPAMincho"s + std::string(23, '\0')) << "row " << i + 1;
    }
}

TEST(CdlFontClass, CancelReportsOnlyWhenAsked)
{
    FakeFontDialog fake;
    fake.result = FALSE;
    CdlFontClass quiet = With(fake);
    EXPECT_EQ(quiet.ShowFont(), FontDialogResult::NoChoice);
    CdlFontClass loud = With(fake);
    loud.CancelError = true;
    EXPECT_EQ(loud.ShowFont(), FontDialogResult::Cancelled);
    EXPECT_EQ(loud.ExtendedError(), 0u);
}

} // namespace
} // namespace lt
