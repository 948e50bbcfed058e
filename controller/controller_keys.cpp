#include "controller/controller_keys.h"

namespace lt {

namespace {

// Virtual key codes (the platform's values).
constexpr unsigned VkReturn = 0x0D, VkDelete = 0x2E, VkF2 = 0x71, VkF3 = 0x72, VkF4 = 0x73;

struct KeyRow {
    unsigned Vk;
    bool Ctrl, Shift, Alt;
    bool InPanel; // also while a box of the settings panel has the focus
    ControllerCommand Command;
};

using C = ControllerCommand;
constexpr KeyRow Keys[] = {
    {VkReturn, false, false, false, false, C::Activate},
    {VkDelete, false, false, false, false, C::Remove},
    {VkDelete, true, false, false, false, C::Clear},
    {'O', true, false, false, false, C::Open},
    {'F', true, false, false, false, C::Folder},
    {'1', true, false, false, false, C::FilterAll},
    {'2', true, false, false, false, C::FilterPicture},
    {'3', true, false, false, false, C::FilterMidi},
    {'4', true, false, false, false, C::FilterWave},
    {'5', true, false, false, false, C::FilterMovie},
    {'T', true, false, false, false, C::Pin},
    {VkF2, false, false, false, true, C::ShowSettings},
    {VkF3, false, false, false, true, C::HideSettings},
    {VkF4, false, false, true, true, C::Quit},
};

// Over the button bar (y 0 to 19), the filter row (y 188 to 208) and the tack.
constexpr SkinTip Tips[] = {
    {2, 0, 60, 19, C::Open, "ファイルを開く (Ctrl+O)"},
    {61, 0, 119, 19, C::Folder, "フォルダを追加 (Ctrl+F)"},
    {120, 0, 178, 19, C::Remove, "選択したファイルを消去 (Delete)"},
    {179, 0, 237, 19, C::Clear, "リストを全消去 (Ctrl+Delete)"},
    {238, 0, 296, 19, C::ShowSettings, "設定を開く (F2) / 閉じる (F3)"},
    {297, 0, 355, 19, C::Quit, "終了 (Alt+F4)"},
    {0, 188, 72, 208, C::FilterAll, "すべてのファイル (Ctrl+1)"},
    {73, 188, 137, 208, C::FilterPicture, "画像のみ (Ctrl+2)"},
    {138, 188, 193, 208, C::FilterMidi, "MIDI のみ (Ctrl+3)"},
    {194, 188, 249, 208, C::FilterWave, "WAVE のみ (Ctrl+4)"},
    {250, 188, 313, 208, C::FilterMovie, "動画のみ (Ctrl+5)"},
    {320, 184, 340, 204, C::Pin, "手前に固定 (Ctrl+T)"},
};

} // namespace

ControllerCommand CommandForKey(const KeyPress& key, KeyPlace place)
{
    for (const KeyRow& row : Keys)
        if (row.Vk == key.Vk && row.Ctrl == key.Ctrl && row.Shift == key.Shift && row.Alt == key.Alt &&
            (row.InPanel || place == KeyPlace::List))
            return row.Command;
    return C::None;
}

std::span<const SkinTip> SkinTips()
{
    return Tips;
}

} // namespace lt
