#include "controller/controller_keys.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "controller/skin_layout.h"
#include "core/file_kind_rules.h"

using namespace lt;
using C = ControllerCommand;

// "Ctrl+Delete" -> the key press it names.
static KeyPress Parse(std::string name)
{
    static const std::map<std::string, unsigned> named = {{"Delete", 0x2E}, {"F2", 0x71}, {"F3", 0x72}, {"F4", 0x73}};
    KeyPress key;
    for (std::size_t plus; (plus = name.find('+')) != std::string::npos; name = name.substr(plus + 1)) {
        const std::string mod = name.substr(0, plus);
        key.Ctrl |= mod == "Ctrl";
        key.Shift |= mod == "Shift";
        key.Alt |= mod == "Alt";
    }
    auto it = named.find(name);
    key.Vk = it != named.end() ? it->second : name.size() == 1 ? static_cast<unsigned char>(name[0]) : 0;
    return key;
}

// What a press in the middle of the tip's area does, as the command it stands for.
static C CommandOfPress(const SkinTip& tip)
{
    const PressHit hit = HitPress((tip.Left + tip.Right) / 2, (tip.Top + tip.Bottom) / 2);
    switch (hit.What) {
    case PressHit::Target::Button: {
        constexpr C buttons[] = {C::Open, C::Folder, C::Remove, C::Clear, C::ShowSettings, C::Quit};
        return buttons[hit.Button];
    }
    case PressHit::Target::Filter: {
        const std::map<int, C> filters = {{FilterAll, C::FilterAll},
                                          {static_cast<int>(FileKind::Picture), C::FilterPicture},
                                          {static_cast<int>(FileKind::Midi), C::FilterMidi},
                                          {static_cast<int>(FileKind::Wave), C::FilterWave},
                                          {static_cast<int>(FileKind::Movie), C::FilterMovie}};
        return filters.at(hit.Filter);
    }
    case PressHit::Target::Pin:
        return C::Pin;
    }
    return C::None;
}

TEST(ControllerKeys, EveryTipSitsOnItsButtonAndNamesAKeyThatDoesTheSame)
{
    // Six buttons, five filters and the tack: every part of the skin a click acts on.
    ASSERT_EQ(SkinTips().size(), 12u);
    for (const SkinTip& tip : SkinTips()) {
        const std::string text = tip.Text;
        EXPECT_EQ(CommandOfPress(tip), tip.Command) << text;
        // Each "(key)" in the text: the first is the tip's own command.
        bool first = true;
        for (std::size_t open = text.find('('); open != std::string::npos; open = text.find('(', open + 1)) {
            const std::string name = text.substr(open + 1, text.find(')', open) - open - 1);
            const C got = CommandForKey(Parse(name), KeyPlace::List);
            if (first)
                EXPECT_EQ(got, tip.Command) << text << ": " << name;
            else
                EXPECT_NE(got, C::None) << text << ": " << name;
            first = false;
        }
        EXPECT_FALSE(first) << text << " names no key";
    }
}

TEST(ControllerKeys, PanelBoxesKeepTheirTypingKeys)
{
    // Enter is the panel's OK, Delete edits the box; only F2, F3 and Alt+F4 reach the controller there.
    const std::vector<std::pair<std::string, C>> rows = {
        {"\r", C::None},     {"Delete", C::None},     {"Ctrl+Delete", C::None}, {"Ctrl+O", C::None},
        {"Ctrl+1", C::None}, {"F2", C::ShowSettings}, {"F3", C::HideSettings},  {"Alt+F4", C::Quit}};
    for (const auto& [name, want] : rows)
        EXPECT_EQ(CommandForKey(Parse(name), KeyPlace::Panel), want) << name;
    EXPECT_EQ(CommandForKey(Parse("\r"), KeyPlace::List), C::Activate);
    // Modifiers must match: Shift+Delete or Ctrl+Shift+O do nothing.
    EXPECT_EQ(CommandForKey(Parse("Shift+Delete"), KeyPlace::List), C::None);
    EXPECT_EQ(CommandForKey(Parse("Ctrl+Shift+O"), KeyPlace::List), C::None);
}
