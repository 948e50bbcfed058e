// player-wait [ms]            the player's window handle, once it is shown
// player-gone [ms]            waits until the player is hidden or gone
// player-press|move|release|click X Y   mouse messages at client (X, Y), sent
// player-rclick X Y           right press and release, posted (a menu opens)
// player-prop NAME            a number the player publishes as a window property
// player-title                the player's window text
// player-rect                 its screen rectangle, then "topmost" when it is
// tag-fields [ms]             the tag editor's five text boxes, one a line
// tag-set T A AL Y C          types them into the editor and presses its store button
#include "player.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "dialogs.h"
#include "dialogs.h"

namespace lt::probe {

namespace {

constexpr DWORD DefaultMs = 10000;
constexpr int TagBoxes[] = {1, 2, 3, 4, 5}; // title, artist, album, year, comment
constexpr int TagStoreButton = 7;

void Print(const std::string& s)
{
    DWORD put = 0;
    const std::string line = s + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
}

void Fail(const std::string& s)
{
    DWORD put = 0;
    const std::string line = "ltprobe: " + s + "\n";
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
}

std::string Utf8(const std::wstring& w)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(s.size() - 1);
    return s;
}

HWND FindPlayer()
{
    return FindWindowW(L"LumatrovePlayer", nullptr);
}

HWND FindEditor()
{
    return FindWindowW(L"LumatroveTagEditor", nullptr);
}

DWORD Ms(const std::vector<std::wstring>& args)
{
    return args.empty() ? DefaultMs : static_cast<DWORD>(std::wcstol(args[0].c_str(), nullptr, 10));
}

bool Point(const std::vector<std::wstring>& args, LPARAM& lp)
{
    if (args.size() != 2)
        return false;
    lp = MAKELPARAM(std::wcstol(args[0].c_str(), nullptr, 10), std::wcstol(args[1].c_str(), nullptr, 10));
    return true;
}

bool SendTo(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 60000, &r) != 0;
}

int Mouse(const std::wstring& name, const std::vector<std::wstring>& args)
{
    LPARAM lp = 0;
    HWND player = FindPlayer();
    if (!Point(args, lp) || !player) {
        Fail(player ? "needs X Y" : "no player window");
        return 1;
    }
    if (name == L"player-rclick") {
        PostMessageW(player, WM_RBUTTONDOWN, MK_RBUTTON, lp);
        PostMessageW(player, WM_RBUTTONUP, 0, lp);
        return 0;
    }
    bool ok = true;
    if (name == L"player-press" || name == L"player-click")
        ok = SendTo(player, WM_LBUTTONDOWN, MK_LBUTTON, lp);
    if (ok && name == L"player-move")
        ok = SendTo(player, WM_MOUSEMOVE, MK_LBUTTON, lp);
    if (ok && (name == L"player-release" || name == L"player-click"))
        ok = SendTo(player, WM_LBUTTONUP, 0, lp);
    if (!ok)
        Fail("the player did not answer");
    return ok ? 0 : 1;
}

int TagFields(const std::vector<std::wstring>& args)
{
    HWND editor = nullptr;
    if (!WaitUntil(Ms(args), [&] { return (editor = FindEditor()) && IsWindowVisible(editor); })) {
        Fail("no tag editor");
        return 1;
    }
    for (int id : TagBoxes)
        Print(Utf8(ControlText(GetDlgItem(editor, id))));
    return 0;
}

int TagSet(const std::vector<std::wstring>& args)
{
    HWND editor = FindEditor();
    if (args.size() != 5 || !editor) {
        Fail(editor ? "needs five texts" : "no tag editor");
        return 1;
    }
    for (std::size_t i = 0; i < 5; ++i)
        SendMessageW(GetDlgItem(editor, TagBoxes[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[i].c_str()));
    if (!PressAndWaitGone(editor, TagStoreButton, DefaultMs)) {
        Fail("the tag editor stayed open");
        return 1;
    }
    return 0;
}

} // namespace

bool RunPlayerCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode)
{
    if (name.rfind(L"player-", 0) != 0 && name.rfind(L"tag-", 0) != 0)
        return false;
    HWND player = nullptr;
    exitCode = 0;
    if (name == L"player-wait") {
        if (!WaitUntil(Ms(args), [&] { return (player = FindPlayer()) && IsWindowVisible(player); })) {
            Fail("no player window shown");
            exitCode = 1;
        } else {
            char text[32];
            std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(player)));
            Print(text);
        }
    } else if (name == L"player-gone") {
        if (!WaitUntil(Ms(args), [&] { return !(player = FindPlayer()) || !IsWindowVisible(player); })) {
            Fail("the player is still shown");
            exitCode = 1;
        }
    } else if (name == L"player-prop" || name == L"player-title" || name == L"player-rect") {
        player = FindPlayer();
        if (!player) {
            Fail("no player window");
            exitCode = 1;
        } else if (name == L"player-prop" && args.size() == 1) {
            const auto value = reinterpret_cast<INT_PTR>(GetPropW(player, args[0].c_str()));
            Print(std::to_string(static_cast<long>(value)));
        } else if (name == L"player-title") {
            wchar_t text[1024] = {};
            GetWindowTextW(player, text, 1024);
            Print(Utf8(text));
        } else {
            RECT r{};
            GetWindowRect(player, &r);
            const bool topmost = GetWindowLongW(player, GWL_EXSTYLE) & WS_EX_TOPMOST;
            Print(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
                  std::to_string(r.bottom) + (topmost ? " topmost" : ""));
        }
    } else if (name == L"tag-fields") {
        exitCode = TagFields(args);
    } else if (name == L"tag-set") {
        exitCode = TagSet(args);
    } else {
        exitCode = Mouse(name, args);
    }
    return true;
}

} // namespace lt::probe
