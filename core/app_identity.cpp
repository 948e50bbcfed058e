#include "core/app_identity.h"

#include <windows.h>

namespace lt {

namespace {
TwipsPerPixel g_twips;
float g_uiFontSize = 9.0f;
} // namespace

void MeasureScreen()
{
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    g_twips = {1440.0 / (dpiX > 0 ? dpiX : 96), 1440.0 / (dpiY > 0 ? dpiY : 96)};
    g_uiFontSize = static_cast<float>(9.0 * g_twips.X / 15.0);
}

TwipsPerPixel ScreenTwipsPerPixel()
{
    return g_twips;
}

float UiFontSize()
{
    return g_uiFontSize;
}

} // namespace lt
