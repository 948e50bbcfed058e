#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "dialogs/cdl_class.h"
#include "dialogs/file_dialog_rules.h"
#include "dialogs/file_dialogs.h"
#include "temp_folder.h"

using namespace std::string_literals;

namespace lt {
namespace {

// GetShortPathNameA or GetLongPathNameA of path; empty when it fails.
std::string PathVia(DWORD(WINAPI* convert)(LPCSTR, LPSTR, DWORD), const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD n = convert(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

TEST(FileDialogPlatform, LongNameFormOfRealShortPaths)
{
    test::TempFolder dir;
    const std::string folder = PathVia(GetLongPathNameA, dir.Path()) + "\\Long Folder Name";
    const std::string deep = folder + "\\\x83\x5c\x83\x74\x83\x67 long"; // "ソフト long": 5C trail byte
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && CreateDirectoryA(deep.c_str(), nullptr));
    const std::string file = deep + "\\Another Long Name.txt";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    for (const std::string& path : {deep, file}) {
        const std::string shortForm = PathVia(GetShortPathNameA, path);
        ASSERT_NE(shortForm, path) << "the platform should hand out 8.3 names";
        EXPECT_EQ(LongNameForm(shortForm, FindLongName), path) << "short form " << shortForm;
    }
}

// Stands in for the platform dialog: keeps copies of what it was handed and
// answers like the dialog would.
struct FakeDialog {
    BOOL result = 1;
    std::string answer; // written into the file buffer, as the dialog does
    int opens = 0, saves = 0;
    std::vector<std::string> failures;

    OPENFILENAMEA seen{};
    std::string filter, fileBuffer, titleBuffer, title, initDir, defExt;
    bool terminated = false; // a NUL after both buffers

    BOOL Run(OPENFILENAMEA* ofn)
    {
        seen = *ofn;
        std::size_t n = 0; // the filter up to and with its closing double NUL
        while (ofn->lpstrFilter[n] || ofn->lpstrFilter[n + 1])
            ++n;
        filter.assign(ofn->lpstrFilter, n + 2);
        fileBuffer.assign(ofn->lpstrFile, ofn->nMaxFile);
        titleBuffer.assign(ofn->lpstrFileTitle, ofn->nMaxFileTitle);
        terminated = !ofn->lpstrFile[ofn->nMaxFile] && !ofn->lpstrFileTitle[ofn->nMaxFileTitle];
        title = ofn->lpstrTitle ? ofn->lpstrTitle : "(null)";
        initDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "(null)";
        defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "(null)";
        if (result == 1) {
            EXPECT_LE(answer.size(), ofn->nMaxFile) << "the fake must stay inside the buffer";
            std::memcpy(ofn->lpstrFile, answer.data(), answer.size());
            std::memcpy(ofn->lpstrFileTitle, "a.bmp", 6);
        }
        return result;
    }

    DialogPlatform Platform()
    {
        return {[this](OPENFILENAMEA* o) {
                    ++opens;
                    return Run(o);
                },
                [this](OPENFILENAMEA* o) {
                    ++saves;
                    return Run(o);
                },
                [this](HWND, const std::string& text) { failures.push_back(text); }};
    }
};

TEST(CdlClass, RecordHandedToThePlatform)
{
    FakeDialog fake;
    fake.answer = "C:\\dir\\a.bmp"s + '\0';
    CdlClass dialog(fake.Platform());
    dialog.hWnd = reinterpret_cast<HWND>(0x1234);
    dialog.Filter = "A|*.a";
    dialog.FilterIndex = 2;
    dialog.FileName = "start.bmp";
    dialog.FileTitle = "t";
    dialog.DialogTitle = "Pick";
    dialog.Flags = 0x0c;
    dialog.MaxFileSize = 300;

    ASSERT_EQ(dialog.ShowOpen(), DialogResult::Chosen);
    EXPECT_EQ(fake.opens, 1);
    EXPECT_EQ(fake.seen.lStructSize, 76u);
    EXPECT_EQ(fake.seen.hwndOwner, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(fake.filter, "A\0*.a\0\0"s);
    EXPECT_EQ(fake.seen.nFilterIndex, 2u);
    EXPECT_EQ(fake.seen.nMaxFile, 255u) << "single selection is told 255 whatever the buffer";
    EXPECT_EQ(fake.seen.nMaxFileTitle, 255u);
    EXPECT_EQ(fake.title, "Pick");
    EXPECT_EQ(fake.defExt, "(null)");
    EXPECT_EQ(fake.seen.Flags, 0x0cu);
    // NUL padding on the NT family, and a terminator after the buffers.
    EXPECT_EQ(fake.fileBuffer, "start.bmp" + std::string(246, '\0'));
    EXPECT_EQ(fake.titleBuffer, "t" + std::string(254, '\0'));
    EXPECT_TRUE(fake.terminated);

    EXPECT_EQ(dialog.FileName, "C:\\dir\\a.bmp");
    EXPECT_EQ(dialog.FileTitle, "a.bmp");
    EXPECT_EQ(dialog.DirectoryName(), "C:\\dir");
    EXPECT_TRUE(fake.failures.empty());
}

TEST(CdlClass, ExplorerMultipleSelectionUsesTheWholeBuffer)
{
    FakeDialog fake;
    // Names that fill all 300 characters the dialog is told about.
    std::string names = "C:\\dir"s + '\0';
    while (names.size() < 292)
        names += "f.txt"s + '\0';
    names.resize(298, 'g');
    fake.answer = names + "\0\0"s;
    CdlClass dialog(fake.Platform());
    dialog.Flags = OfnAllowMultiSelect | OfnExplorer;
    dialog.MaxFileSize = 300;
    dialog.FileTitle = "kept";

    ASSERT_EQ(dialog.ShowSave(), DialogResult::Chosen);
    EXPECT_EQ(fake.seen.nMaxFile, 300u);
    EXPECT_TRUE(fake.terminated);
    EXPECT_EQ(dialog.FileName, names);
    EXPECT_EQ(dialog.DirectoryName(), "C:\\dir");
    EXPECT_EQ(dialog.FileTitle, "kept");
}

TEST(CdlClass, CancelAndFailureLeaveTheNameAlone)
{
    struct Row {
        BOOL result;
        bool cancelError;
        std::uint32_t flags;
        std::int32_t maxFileSize;
        std::string answer;
        DialogResult expected;
        int opens;
        std::size_t failures;
    };
    const std::vector<Row> rows = {
        {0, true, 0, 0, "", DialogResult::Cancelled, 1, 0},
        {0, false, 0, 0, "", DialogResult::NoChoice, 1, 0},
        // old-style multiple selection without the double space it needs
        {1, true, OfnAllowMultiSelect, 0, "C:\\DIR A.TXT"s + '\0', DialogResult::Failed, 1, 1},
        // a buffer too big to allocate is reported, not thrown
        {1, true, 0, 0x7fffffff, "", DialogResult::Failed, 0, 1},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        FakeDialog fake;
        fake.result = rows[r].result;
        fake.answer = rows[r].answer;
        CdlClass dialog(fake.Platform());
        dialog.CancelError = rows[r].cancelError;
        dialog.Flags = rows[r].flags;
        dialog.MaxFileSize = rows[r].maxFileSize;
        dialog.FileName = "before.txt";
        EXPECT_EQ(dialog.ShowOpen(), rows[r].expected) << "row " << r;
        EXPECT_EQ(dialog.FileName, "before.txt") << "row " << r;
        EXPECT_EQ(dialog.DirectoryName(), "") << "row " << r;
        EXPECT_EQ(fake.opens, rows[r].opens) << "row " << r;
        EXPECT_EQ(fake.failures.size(), rows[r].failures) << "row " << r;
    }
}

TEST(AskFile, SettingsHandedToTheDialog)
{
    FakeDialog save;
    save.answer = "C:\\x\\chosen.ltl"s + '\0';
    std::string name;
    EXPECT_TRUE(AskSaveFile(nullptr, name, "L|*.ltl", "ltl", save.Platform()));
    EXPECT_EQ(name, "C:\\x\\chosen.ltl");
    EXPECT_EQ(save.saves, 1);
    EXPECT_EQ(save.seen.Flags, 12u);
    EXPECT_EQ(save.defExt, "ltl");
    EXPECT_EQ(save.initDir, ProgramFolder()) << "an empty name starts in the program's folder";

    FakeDialog open;
    open.result = 0;
    name = "C:\\x\\old.bmp";
    EXPECT_FALSE(AskOpenFile(nullptr, name, "A|*.*", open.Platform()));
    EXPECT_EQ(name, "C:\\x\\old.bmp");
    EXPECT_EQ(open.opens, 1);
    EXPECT_EQ(open.initDir, "(null)");
    EXPECT_EQ(open.fileBuffer.substr(0, 13), "C:\\x\\old.bmp"s + '\0');

    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(ProgramFolder() + "\\lt_win_tests.exe", exe);
}

// The one test that drives the platform's real dialog: it opens on the path
// given as the initial name, and a second thread presses OK the way a user
// would, then cancels whatever is still open so that a failing test cannot hang.
TEST(FileDialogOnScreen, OpenReturnsTheGivenPath)
{
    test::TempFolder dir;
    const std::string file = dir.Write("\x83\x5c long name.bmp", test::BmpBytes); // "ソ long name.bmp"
    const DWORD self = GetCurrentThreadId();
    const auto findBox = [self] {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));)
            if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == self)
                return w;
        return HWND{};
    };
    bool found = false;
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 400 && !(box = findBox()); ++i)
            Sleep(50);
        if ((found = box != nullptr))
            PostMessageA(box, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        for (int i = 0; i < 200 && box && IsWindow(box); ++i)
            Sleep(50);
        for (; (box = findBox()); Sleep(200))
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    std::string name = file;
    const bool chosen = AskOpenFile(nullptr, name, "\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9(*.*)|*.*"); // 全てのﾌｧｲﾙ
    user.join();
    ASSERT_TRUE(found) << "no dialog box showed up";
    EXPECT_TRUE(chosen);
    EXPECT_EQ(name, file);
}

} // namespace
} // namespace lt
