#include <gtest/gtest.h>

#include <vector>

#include "controller/settings_panel.h"
#include "core/app_paths.h"
#include "core/settings_store.h"
#include "temp_folder.h"

using namespace lt;

// OK switches the MIDI port, which lets messages run: a second OK, Cancel or
// a registration meanwhile must not run inside it.
TEST(SettingsPanel, OkHoldsItsButtonsWhileThePortSwitchLetsMessagesRun)
{
    test::TempFolder dir;
    AppPaths paths;
    paths.SettingsFile = dir.File("Lumatrove.ini"), paths.QueueFile = dir.File("LTDummy.ini");
    SetPaths(paths);
    AppSettings() = Settings{};
    HWND controller = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 357, 209, nullptr, nullptr, nullptr, nullptr);
    SettingsPanel panel;
    int closed = 0, switches = 0;
    ASSERT_TRUE(panel.Create(controller, [&] { ++closed; }));
    panel.SetOptionData();
    panel.Show();
    SetWindowTextA(GetDlgItem(panel.Hwnd(), IdTeVoid), "2000000000");

    const int held[] = {IdComExit, IdComCancel, IdComExt, IdComExt + 5, IdComUnregister};
    auto enabled = [&] {
        std::vector<bool> states;
        for (int id : held)
            states.push_back(IsWindowEnabled(GetDlgItem(panel.Hwnd(), id)) != FALSE);
        return states;
    };
    auto ok = [&] { SendMessageA(panel.Hwnd(), WM_COMMAND, MAKEWPARAM(IdComExit, BN_CLICKED), 0); };
    std::vector<bool> during;
    panel.SetPortSwitch([&] {
        ++switches;
        during = enabled();
        ok(); // Enter pressed again while the switch waits
        EXPECT_EQ(closed, 0) << "the panel closed inside the switch";
    });
    ok();
    EXPECT_EQ(switches, 1);
    EXPECT_EQ(during, std::vector<bool>(5, false));
    EXPECT_EQ(enabled(), std::vector<bool>(5, true));
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(AppSettings().ErrorWait, 10000) << "a typed number of rounds is bounded";
    EXPECT_NE(test::TempFolder::Read(dir.File("Lumatrove.ini")).find("ErrorWait=10000"), std::string::npos);
    DestroyWindow(controller);
}
