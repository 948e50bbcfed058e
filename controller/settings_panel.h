// The settings panel: a painted child of the controller that covers it below
// the button bar and edits the System settings.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "core/win_handles.h"
#include "core/window_proc.h"
#include "music/midi_ports.h"

namespace lt {

// Control ids of the panel's children (also used by tests from outside).
enum PanelControl : int {
    IdTeX = 610,
    IdTeY,
    IdTeUp,
    IdTeDown,
    IdTeLeft,
    IdTeRight,
    IdTeVoid,
    IdCmbMidi = 620,
    IdComSample = 631, // 631 to 636: presets 1 to 6
    IdComExt = 640,    // 640 to 645: file types 0 to 5
    IdComUnregister = 646,
    IdComExit = 650,
    IdComCancel = 651,
    IdOptShow = 660, // the start-up options, as focusable parts of the panel
    IdOptHide = 661,
};

class SettingsPanel {
public:
    static constexpr const char* ClassName = "LumatroveSettings";

    SettingsPanel() = default;
    SettingsPanel(const SettingsPanel&) = delete;
    SettingsPanel& operator=(const SettingsPanel&) = delete;

    // Creates the panel hidden over the controller; `closed` runs when OK or
    // Cancel close it. False when it could not be made.
    bool Create(HWND controller, std::function<void()> closed);
    HWND Hwnd() const { return hwnd_; }

    void Show();
    void Hide();
    // Fills the controls from the settings and redraws.
    void SetOptionData();
    // What OK runs to switch the MIDI port; it lets messages run.
    void SetPortSwitch(std::function<void()> portSwitch) { portSwitch_ = std::move(portSwitch); }
    // The first control in the panel's tab order.
    HWND FirstControl() const;

private:
    friend LRESULT CALLBACK WindowProcOf<SettingsPanel>(HWND, UINT, WPARAM, LPARAM);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK OptionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnOption(HWND option, UINT msg, WPARAM wp, LPARAM lp);

    bool OnCreate();
    void OnPaint();
    void OnCommand(int id, int code);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    void MakeOptions();
    void ApplyTabOrder();
    void FocusControl(HWND control);
    void PaintOption(HWND option);
    void ChooseOption(bool show);

    void FillMidiCombo();
    void DrawSettingPanel();
    void ComSample(int index);
    void ComExit();
    void ComCancel();
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    void SetNumber(int id, long value);

    // Disables OK, Cancel and the registration buttons while it lives.
    class PortSwitchHold {
    public:
        explicit PortSwitchHold(SettingsPanel& panel);
        PortSwitchHold(const PortSwitchHold&) = delete;
        PortSwitchHold& operator=(const PortSwitchHold&) = delete;
        ~PortSwitchHold();

    private:
        void EnableHeld(BOOL enable);
        SettingsPanel& panel_;
    };

    HWND hwnd_ = nullptr;
    std::function<void()> closed_;
    std::function<void()> portSwitch_ = ApplyMidiPortIfMidiOpen;
    GdiObject font_, back_, options_, surface_;
    MemoryDc surfaceDc_;
    std::string screenSize_;
    bool switchingPort_ = false; // OK is waiting for the MIDI port switch
    bool showPressed_ = false;
    bool hidePressed_ = false;
    bool pressHeld_ = false; // a press on the panel whose release is to come
    bool releasing_ = false; // the panel lets its capture go at a release
};

} // namespace lt
