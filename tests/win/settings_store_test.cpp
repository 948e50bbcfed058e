#include <gtest/gtest.h>

#include <windows.h>

#include "core/settings_store.h"
#include "temp_folder.h"

namespace lt {
namespace {

TEST(SettingsStore, ReadsThroughTheProfileFunctionsWithTheirLimits)
{
    test::TempFolder dir;
    std::string ini = dir.Write("Lumatrove.ini", "[System]\r\nXPos=13.5\r\n[MusicPlayer]\r\nVolume=1000\r\n");
    AppSettings() = Settings{};
    LoadSettings(ini);
    const Settings& s = AppSettings();
    EXPECT_EQ(s.XPos, 14);
    EXPECT_EQ(s.XEnd, 4695) << "a key missing from an existing file takes its read default";
    EXPECT_EQ(s.Volume, 100) << "three characters of 1000 are read";
    EXPECT_EQ(s.FontName, "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9"); // "ＭＳ 明朝"
}

TEST(SettingsStore, DefaultFileGivesItsOwnTriggerWidthAndVolumeIsWrittenBack)
{
    test::TempFolder dir;
    std::string ini = dir.Write("Lumatrove.ini", DefaultSettingsFile());
    AppSettings() = Settings{};
    LoadSettings(ini);
    EXPECT_EQ(AppSettings().XEnd, 354);
    EXPECT_EQ(AppSettings().Visible, 1);

    AppSettings().Volume = 37;
    WriteVolume(ini);
    AppSettings().XPos = -20;
    WriteSystemSettings(ini);
    const std::string text = test::TempFolder::Read(ini);
    EXPECT_NE(text.find("[MusicPlayer]\r\nVolume=37\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("XPos=-20\r\n"), std::string::npos) << text;
}

} // namespace
} // namespace lt
