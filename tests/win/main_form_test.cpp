#include <gtest/gtest.h>

#include <thread>

#include "controller/main_form.h"
#include "core/app_paths.h"
#include "core/settings_store.h"
#include "core/app_identity.h"
#include "music/mp3_library.h"
#include "temp_folder.h"

using namespace lt;

// The controller's unload work (the volume written to the settings file)
// runs once, at the end of a session too, and never after a failed start.
struct MainFormTest : ::testing::Test {
    MainFormTest()
    {
        AppPaths paths;
        paths.SettingsFile = dir.File("Lumatrove.ini"), paths.QueueFile = dir.File("LTDummy.ini");
        SetPaths(paths);
        AppSettings() = lt::Settings{};
    }
    ~MainFormTest() override
    {
        MSG quit; // the unload asks the (absent) message loop to end
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    std::string Ini() const { return test::TempFolder::Read(dir.File("Lumatrove.ini")); }
    test::TempFolder dir;
};

TEST_F(MainFormTest, AFailedStartShowsWhyAndWritesNothing)
{
    Mp3() = Mp3Library{}; // no library: its initialisation fails
    bool told = false;
    std::thread user([&] {
        for (int i = 0; i < 200 && !told; ++i, Sleep(50)) {
            HWND box = FindWindowA("#32770", AppTitle);
            if ((told = box != nullptr))
                PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    });
    MainForm form;
    EXPECT_FALSE(form.Create());
    user.join();
    EXPECT_TRUE(told) << "no message box";
    EXPECT_EQ(Ini(), "<missing>");
}

TEST_F(MainFormTest, TheEndOfASessionStoresTheVolumeOnce)
{
    ASSERT_TRUE(Mp3().Load({test::Mp3DllPath()}));
    {
        MainForm form;
        ASSERT_TRUE(form.Create());
        AppSettings().Volume = 42;
        SendMessageA(form.Hwnd(), WM_ENDSESSION, TRUE, 0); // the process ends after this
        EXPECT_NE(Ini().find("[MusicPlayer]\r\nVolume=42"), std::string::npos) << Ini();
        AppSettings().Volume = 7;
    }
    EXPECT_EQ(Ini().find("Volume=7"), std::string::npos) << "the window's end ran the unload again";
}
