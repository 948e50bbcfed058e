#include "dialogs.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <cwchar>

#include "remote_memory.h"

namespace lt::probe {

namespace {

constexpr UINT AnswerTimeoutMs = 10000;

std::wstring ClassOf(HWND w)
{
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    return cls;
}

struct Search {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* childClass; // null: any
    HWND found;
};

BOOL CALLBACK HasChildOfClass(HWND w, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    if (lstrcmpiW(ClassOf(w).c_str(), s->childClass) != 0)
        return TRUE;
    s->found = w;
    return FALSE;
}

// A child of the given class, or null.
HWND ChildOfClass(HWND parent, const wchar_t* cls)
{
    Search inner{0, nullptr, cls, nullptr};
    EnumChildWindows(parent, HasChildOfClass, reinterpret_cast<LPARAM>(&inner));
    return inner.found;
}

BOOL CALLBACK MatchTop(HWND w, LPARAM param)
{
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->pid || !IsWindowVisible(w) || ClassOf(w) != s->cls ||
        (s->childClass && !ChildOfClass(w, s->childClass)))
        return TRUE;
    s->found = w;
    return FALSE;
}

// A visible top-level window of the owner's process, of class cls, polled for.
HWND WaitTop(HWND owner, const wchar_t* cls, const wchar_t* childClass, DWORD timeoutMs)
{
    Search s{0, cls, childClass, nullptr};
    GetWindowThreadProcessId(owner, &s.pid);
    WaitUntil(timeoutMs, [&] { return EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s)), s.found != nullptr; });
    return s.found;
}

// The name box is an Edit inside the name combo box; it carries the combo's
// id (or edt1 in older layouts).
BOOL CALLBACK TakeNameBox(HWND w, LPARAM out)
{
    const int id = GetDlgCtrlID(w);
    if (lstrcmpiW(ClassOf(w).c_str(), L"Edit") != 0 || (id != cmb13 && id != edt1))
        return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

BOOL CALLBACK AddStaticText(HWND w, LPARAM param)
{
    wchar_t text[512] = {};
    if (lstrcmpiW(ClassOf(w).c_str(), L"Static") == 0 && IsWindowVisible(w) && GetWindowTextW(w, text, 512) > 0) {
        auto* out = reinterpret_cast<std::wstring*>(param);
        *out += (out->empty() ? L"" : L" / ") + std::wstring(text);
    }
    return TRUE;
}

// The caption of the tree's selected item; the item record and its text
// buffer live in the tree's process.
bool SelectedTreeText(HWND tree, std::wstring& text, std::string& error)
{
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    error = item ? "cannot read the selected tree item" : "no tree item is selected";
    constexpr int TextChars = MAX_PATH;
    RemoteBlock mem(tree, sizeof(TVITEMW) + TextChars * sizeof(wchar_t));
    TVITEMW record{};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = static_cast<wchar_t*>(mem.Address(sizeof(TVITEMW)));
    record.cchTextMax = TextChars;
    DWORD_PTR ok = 0;
    if (!item || !mem.Write(0, &record, sizeof record))
        return false;
    if (!SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(mem.Address()), SMTO_NORMAL,
                             AnswerTimeoutMs, &ok)) {
        mem.Abandon();
        return false;
    }
    wchar_t buffer[TextChars] = {};
    if (!ok || !mem.Read(sizeof(TVITEMW), buffer, sizeof buffer))
        return false;
    buffer[TextChars - 1] = L'\0';
    text = buffer;
    return true;
}

} // namespace

HWND WaitPopupMenu(HWND owner, DWORD timeoutMs)
{
    return WaitTop(owner, L"#32768", nullptr, timeoutMs);
}

bool PostMenuKeys(HWND menuWindow, const std::vector<std::wstring>& keys)
{
    for (const std::wstring& key : keys) {
        wchar_t* end = nullptr;
        auto vk = static_cast<WPARAM>(std::wcstol(key.c_str(), &end, 0));
        if (!key.empty() && *end == L'\0') {
            LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16);
            if (!PostMessageW(menuWindow, WM_KEYDOWN, vk, down) ||
                !PostMessageW(menuWindow, WM_KEYUP, vk, down | (1L << 30) | (1L << 31)))
                return false;
        } else {
            for (wchar_t ch : key)
                if (!PostMessageW(menuWindow, WM_CHAR, ch, 1))
                    return false;
        }
        Sleep(50); // one step at a time, as typed
    }
    return true;
}

HWND WaitDialogWith(HWND owner, const wchar_t* childClass, DWORD timeoutMs)
{
    return WaitTop(owner, L"#32770", childClass, timeoutMs);
}

HWND FileNameBox(HWND dialog)
{
    HWND edit = nullptr;
    EnumChildWindows(dialog, TakeNameBox, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

std::wstring ControlText(HWND control)
{
    wchar_t text[MAX_PATH] = {};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                             AnswerTimeoutMs, &got))
        return {};
    return std::wstring(text, got < MAX_PATH ? got : MAX_PATH - 1);
}

std::wstring StaticTexts(HWND dialog)
{
    std::wstring texts;
    EnumChildWindows(dialog, AddStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool SelectFolderInBrowser(HWND browser, const std::wstring& path, std::wstring& selected, std::string& error)
{
    HWND tree = ChildOfClass(browser, WC_TREEVIEWW);
    // The browser takes an ANSI path from the program's side.
    int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi.data(), n, nullptr, nullptr);
    RemoteBlock mem(browser, ansi.size());
    if (!tree || !mem.Write(0, ansi.data(), ansi.size())) {
        error = tree ? "cannot place the path in the program's memory" : "the folder browser has no tree";
        return false;
    }
    // The browser's answer tells nothing, so the selected item's caption
    // shows whether the path was found. Under Wine the first try right after
    // the browser came up now and then finds nothing (the tree is still being
    // filled as its nodes open); a later one finds it.
    const std::wstring last = path.substr(path.find_last_of(L'\\') + 1);
    for (DWORD start = GetTickCount();; Sleep(200)) {
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(mem.Address()),
                                 SMTO_NORMAL, AnswerTimeoutMs, &ignored)) {
            mem.Abandon();
            error = "the folder browser did not answer";
            return false;
        }
        if (SelectedTreeText(tree, selected, error)) {
            if (lstrcmpiW(selected.c_str(), last.c_str()) == 0)
                return true;
            error = "the selected item is another one";
        }
        if (GetTickCount() - start >= AnswerTimeoutMs) {
            error = "the folder browser has no item for the path (" + error + ")";
            return false;
        }
    }
}

bool PressAndWaitGone(HWND dialog, int button, DWORD timeoutMs)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    return WaitUntil(timeoutMs, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

} // namespace lt::probe
