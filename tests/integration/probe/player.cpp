// player-wait [ms]            waits until the player is shown
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

#include <cwchar>

#include "dialogs.h"

namespace lt::probe {

namespace {

constexpr int TagBoxes[] = {1, 2, 3, 4, 5}; // title, artist, album, year, comment
constexpr int TagStoreButton = 7;

// A line on standard output, or on standard error (then the command fails).
int Put(const std::string& s, bool error = false)
{
    DWORD put = 0;
    const std::string line = (error ? "ltprobe: " : "") + s + "\n";
    WriteFile(GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &put, nullptr);
    return error ? 1 : 0;
}

std::string Utf8(const std::wstring& w)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(s.size() - 1);
    return s;
}

long Number(const std::wstring& s)
{
    return std::wcstol(s.c_str(), nullptr, 10);
}

DWORD Ms(const std::vector<std::wstring>& args)
{
    return args.empty() ? 10000 : static_cast<DWORD>(Number(args[0]));
}

HWND Shown(const wchar_t* windowClass)
{
    HWND w = FindWindowW(windowClass, nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
}

int Mouse(HWND player, const std::wstring& name, const std::vector<std::wstring>& args)
{
    if (args.size() != 2)
        return Put("needs X Y", true);
    const LPARAM lp = MAKELPARAM(Number(args[0]), Number(args[1]));
    if (name == L"player-rclick") {
        PostMessageW(player, WM_RBUTTONDOWN, MK_RBUTTON, lp);
        PostMessageW(player, WM_RBUTTONUP, 0, lp);
        return 0;
    }
    const auto send = [&](UINT msg, WPARAM wp) {
        DWORD_PTR r = 0;
        return SendMessageTimeoutW(player, msg, wp, lp, SMTO_NORMAL, 60000, &r) != 0;
    };
    bool ok = true;
    if (name == L"player-press" || name == L"player-click")
        ok = send(WM_LBUTTONDOWN, MK_LBUTTON);
    if (ok && name == L"player-move")
        ok = send(WM_MOUSEMOVE, MK_LBUTTON);
    if (ok && (name == L"player-release" || name == L"player-click"))
        ok = send(WM_LBUTTONUP, 0);
    return ok ? 0 : Put("the player did not answer", true);
}

int TagCommand(const std::wstring& name, const std::vector<std::wstring>& args)
{
    HWND editor = nullptr;
    const DWORD ms = name == L"tag-fields" ? Ms(args) : 0;
    if (!WaitUntil(ms, [&] { return (editor = Shown(L"LumatroveTagEditor")) != nullptr; }))
        return Put("no tag editor", true);
    if (name == L"tag-fields") {
        for (int id : TagBoxes)
            Put(Utf8(ControlText(GetDlgItem(editor, id))));
        return 0;
    }
    if (args.size() != 5)
        return Put("needs five texts", true);
    for (std::size_t i = 0; i < 5; ++i)
        SendMessageW(GetDlgItem(editor, TagBoxes[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[i].c_str()));
    return PressAndWaitGone(editor, TagStoreButton, 10000) ? 0 : Put("the tag editor stayed open", true);
}

int PlayerCommand(const std::wstring& name, const std::vector<std::wstring>& args)
{
    if (name == L"player-wait")
        return WaitUntil(Ms(args), [] { return Shown(L"LumatrovePlayer"); }) ? 0 : Put("no player window shown", true);
    if (name == L"player-gone")
        return WaitUntil(Ms(args), [] { return !Shown(L"LumatrovePlayer"); }) ? 0
                                                                              : Put("the player is still shown", true);
    HWND player = FindWindowW(L"LumatrovePlayer", nullptr);
    if (!player)
        return Put("no player window", true);
    if (name == L"player-prop" && args.size() == 1)
        return Put(std::to_string(static_cast<long>(reinterpret_cast<INT_PTR>(GetPropW(player, args[0].c_str())))));
    if (name == L"player-title") {
        wchar_t text[1024] = {};
        GetWindowTextW(player, text, 1024);
        return Put(Utf8(text));
    }
    if (name == L"player-rect") {
        RECT r{};
        GetWindowRect(player, &r);
        const bool topmost = GetWindowLongW(player, GWL_EXSTYLE) & WS_EX_TOPMOST;
        return Put(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
                   std::to_string(r.bottom) + (topmost ? " topmost" : ""));
    }
    return Mouse(player, name, args);
}

} // namespace

bool RunPlayerCommand(const std::wstring& name, const std::vector<std::wstring>& args, int& exitCode)
{
    if (name.rfind(L"player-", 0) == 0)
        exitCode = PlayerCommand(name, args);
    else if (name.rfind(L"tag-", 0) == 0)
        exitCode = TagCommand(name, args);
    else
        return false;
    return true;
}

} // namespace lt::probe
