// The controller window: the skinned launcher that holds the file list.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controller/controller_keys.h"
#include "controller/list_display_rules.h"
#include "controller/settings_panel.h"
#include "controller/skin_layout.h"
#include "controller/skin_surface.h"
#include "core/file_list.h"
#include "core/win_handles.h"
#include "core/window_proc.h"

namespace lt {

class MainForm final : public ListDisplayTarget {
public:
    static constexpr const char* ClassName = "LumatroveController";

    MainForm() = default;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;
    ~MainForm() override;

    // Creates the window (hidden); false when its load failed.
    bool Create();
    // Initial placement and visibility from the settings.
    void ShowController();
    void LoadSettingForm();

    void MakeList(std::string_view select) override;
    void Reflect();
    void ComLoad();
    void SelectFolder();

    HWND Hwnd() const { return hwnd_; }
    HWND ListBox() const { return list_; }

    // The controller's keys wherever its focus is, and the settings panel's
    // dialog keys; true when msg was one of them.
    bool FilterMessage(MSG& msg);

private:
    friend LRESULT CALLBACK WindowProcOf<MainForm>(HWND, UINT, WPARAM, LPARAM);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

    bool OnLoad();
    void OnUnload();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnMouseDown(UINT button, int x, int y);
    void OnMouseUp(int x, int y);
    void OnKeyDown(WPARAM key);
    void OnListNotify(int code);
    void OnContextMenu(HWND from, int x, int y);
    void OnCaptureLost();
    void FocusInside();

    void PressButton(int x, int y);
    void ReleaseButton(int x, int y);
    void RunButton(int button);
    void SetFilter(std::int16_t filter);
    void TogglePin();
    void ToggleSettingsPanel();
    void RemoveSelectedEntry();
    void ClearList();
    void RunCommand(ControllerCommand command);
    void ActivateSelected();
    POINT KeyboardMenuPoint() const;
    void ShowFileListMenu(const POINT* at = nullptr);
    void AddTooltips();
    void PublishProps();
    void Exit();
    void QueueTick();
    void MouseTick();
    int SelectedEntry() const; // item data of the selected line, or -1
    void Rebuild(std::string_view select);
    void AppendNewLines();
    void AddLines(const std::vector<ListLine>& lines);
    void NoteShown();

    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    HWND settings_ = nullptr; // the panel's window
    SettingsPanel settingsPanel_;
    HWND tooltips_ = nullptr;
    HWND lastFocus_ = nullptr; // where the focus was when the window went inactive
    GdiObject listFont_;
    GdiObject listBrush_;
    SkinSurface skin_;
    PressedFlags pressed_{};
    bool releasing_ = false; // the window lets its capture go at a release
    bool openDialogBusy_ = false;
    bool folderBusy_ = false;
    bool settingsOpen_ = false;
    bool shown_ = false;
    bool pinned_ = false;
    int leaveCounter_ = 0;
    bool draining_ = false;
    bool loaded_ = false; // from a complete load until the unload work ran
    long listBuilds_ = 0;
    // The lines show entries 1 to shownThrough_ as they were after that
    // many removals from the table.
    int shownThrough_ = 0;
    unsigned long shownRemovals_ = 0;
    DWORD lastAppend_ = 0;
};

// The one controller of this run (null before it is created).
MainForm* Controller();

} // namespace lt
