#include "controller/list_file_dialog.h"

#include <string>

#include "core/app_identity.h"
#include "core/file_list.h"
#include "core/list_files.h"
#include "dialogs/file_dialogs.h"

namespace lt {

namespace {

// The path of the last successful save, offered by the next save dialog.
std::string g_listFilePath;

const char* const ListFilter = "Lumatrove List(*.ltl)|*.ltl|全てのﾌｧｲﾙ(*.*)|*.*";
// The dialog appends the default extension as it is, so it is "ltl", not a
// pattern: "*.ltl" turned a typed "list" into "list.*.ltl".
const char* const ListExtension = "ltl";

// The old file is kept when the new one cannot be written; the user hears
// of it with the path, since nothing else shows that the save did not happen.
template <typename Ask> void SaveWith(HWND owner, Ask ask, const DialogPlatform& platform)
{
    std::string name = g_listFilePath;
    if (!ask(name))
        return;
    if (WriteListFile(name, FileList().Table)) {
        g_listFilePath = name;
        return;
    }
    const std::string text = "リストを保存できませんでした。\r\n" + name;
    if (platform.ReportFailure)
        platform.ReportFailure(owner, text);
    else
        MessageBoxA(owner, text.c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void SaveListFile(HWND owner)
{
    SaveWith(owner, [&](std::string& name) { return AskSaveFile(owner, name, ListFilter, ListExtension); },
             DialogPlatform{});
}

void SaveListFile(HWND owner, const DialogPlatform& platform)
{
    SaveWith(owner, [&](std::string& name) { return AskSaveFile(owner, name, ListFilter, ListExtension, platform); },
             platform);
}

} // namespace lt
