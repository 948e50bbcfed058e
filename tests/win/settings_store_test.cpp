#include <gtest/gtest.h>

#include <windows.h>

#include "core/settings_store.h"
#include "temp_folder.h"

namespace lt {
namespace {

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(f);
    return bytes;
}

TEST(SettingsStore, ReadsThroughTheProfileFunctionsWithTheirLimits)
{
    test::TempFolder dir;
    std::string ini = dir.Write("Lumatrove.ini",
                                "[System]\r\nXPos=12.5\r\nYPos=13.5\r\nVisible=-1\r\nMidiDevice=2\r\n"
                                "[Title]\r\nFontSize=14\r\nFontItalic=2\r\nFontBold=1\r\n"
                                "[MusicPlayer]\r\nVolume=1000\r\n");
    AppSettings() = Settings{};
    LoadSettings(ini);
    const Settings& s = AppSettings();
    EXPECT_EQ(s.XPos, 12);
    EXPECT_EQ(s.YPos, 14);
    EXPECT_EQ(s.XEnd, 4695) << "a key missing from an existing file takes its read default";
    EXPECT_EQ(s.Visible, -1);
    EXPECT_EQ(s.MidiDevice, 2);
    EXPECT_EQ(s.FontSize, 14);
    EXPECT_FALSE(s.FontItalic);
    EXPECT_TRUE(s.FontBold);
    EXPECT_EQ(s.Volume, 100) << "three characters of 1000 are read";
    EXPECT_EQ(s.FontName, "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9");
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
    std::string text = ReadFileBytes(ini);
    EXPECT_NE(text.find("[MusicPlayer]\r\nVolume=37\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("XPos=-20\r\n"), std::string::npos) << text;
    AppSettings() = Settings{};
    LoadSettings(ini);
    EXPECT_EQ(AppSettings().Volume, 37);
    EXPECT_EQ(AppSettings().XPos, -20);
}

} // namespace
} // namespace lt
