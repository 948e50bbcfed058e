#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>

#include <chrono>
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

std::string LongPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD n = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : path;
}

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

TEST(FileDialogPlatform, TerminatorFollowsThePlatformFamily)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT)) << "Wine reports the NT family";
    EXPECT_EQ(DialogTerminator(), '\0');
}

TEST(FileDialogPlatform, LongNameFormOfRealShortPaths)
{
    test::TempFolder dir;
    const std::string base = LongPath(dir.Path());
    // "ソフト long name": its first trail byte is a backslash
    const std::string sjisFolder = "\x83\x5c\x83\x74\x83\x67 long name";
    const std::string longFolder = base + "\\Long Folder Name";
    const std::string deepFolder = longFolder + "\\" + sjisFolder;
    ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(deepFolder.c_str(), nullptr));
    const std::string file = dir.Write("Long Folder Name\\" + sjisFolder + "\\Another Long Name.txt", "x");

    struct Row { std::string shortForm, longForm; };
    const std::vector<Row> rows = {
        {ShortPath(longFolder), longFolder},
        {ShortPath(deepFolder), deepFolder},
        {ShortPath(file), LongPath(file)},
        // a name already long comes back as it is
        {file, file},
        // a folder that is not there is left out
        {ShortPath(longFolder) + "\\GONE", longFolder},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_FALSE(rows[r].shortForm.empty()) << "row " << r;
        EXPECT_EQ(LongNameForm(rows[r].shortForm, FindLongName), rows[r].longForm)
            << "row " << r << " short form " << rows[r].shortForm;
    }
    EXPECT_NE(ShortPath(longFolder), longFolder) << "the platform should hand out 8.3 names";
}

// Stands in for the platform dialog: records what it was handed and answers
// like the dialog would.
struct FakeDialog {
    BOOL result = 1;
    std::string answer;      // written into the file buffer, as the dialog does
    std::string titleAnswer; // written into the title buffer
    int opens = 0, saves = 0;
    std::vector<std::string> failures;

    // Copies of what the record pointed at.
    OPENFILENAMEA seen{};
    std::string filter, fileBuffer, titleBuffer, initDir, title, defExt;
    bool fileTerminated = false, titleTerminated = false;

    BOOL Run(OPENFILENAMEA* ofn)
    {
        seen = *ofn;
        filter.clear();
        for (const char* p = ofn->lpstrFilter; p && (p[0] || p[1]); ++p)
            filter += *p;
        fileBuffer.assign(ofn->lpstrFile, ofn->nMaxFile);
        titleBuffer.assign(ofn->lpstrFileTitle, ofn->nMaxFileTitle);
        fileTerminated = ofn->lpstrFile[ofn->nMaxFile] == '\0';
        titleTerminated = ofn->lpstrFileTitle[ofn->nMaxFileTitle] == '\0';
        initDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "(null)";
        title = ofn->lpstrTitle ? ofn->lpstrTitle : "(null)";
        defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "(null)";
        if (result == 1) {
            EXPECT_LE(answer.size(), ofn->nMaxFile) << "the fake must stay inside the buffer";
            std::memcpy(ofn->lpstrFile, answer.data(), answer.size());
            std::memcpy(ofn->lpstrFileTitle, titleAnswer.data(), titleAnswer.size());
        }
        return result;
    }

    DialogPlatform Platform()
    {
        return {[this](OPENFILENAMEA* o) { ++opens; return Run(o); },
                [this](OPENFILENAMEA* o) { ++saves; return Run(o); },
                [this](HWND, const std::string& text) { failures.push_back(text); }};
    }
};

TEST(CdlClass, RecordHandedToThePlatform)
{
    FakeDialog fake;
    fake.answer = "C:\\dir\\a.bmp"s + '\0';
    fake.titleAnswer = "a.bmp"s + '\0';
    CdlClass dialog(fake.Platform());
    dialog.hWnd = reinterpret_cast<HWND>(0x1234);
    dialog.Filter = "A|*.a|B|*.b";
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
    EXPECT_EQ(fake.filter, "A\0*.a\0B\0*.b"s);
    EXPECT_EQ(fake.seen.nFilterIndex, 2u);
    EXPECT_EQ(fake.seen.nMaxFile, 255u) << "single selection is told 255 whatever the buffer";
    EXPECT_EQ(fake.seen.nMaxFileTitle, 255u);
    EXPECT_EQ(fake.title, "Pick");
    EXPECT_EQ(fake.initDir, "(null)");
    EXPECT_EQ(fake.defExt, "(null)");
    EXPECT_EQ(fake.seen.Flags, 0x0cu);
    EXPECT_EQ(fake.seen.hInstance, nullptr);
    EXPECT_EQ(fake.seen.lpfnHook, nullptr);
    // Padding of the NT family, and a terminator after the buffers.
    EXPECT_EQ(fake.fileBuffer, "start.bmp" + std::string(246, '\0'));
    EXPECT_EQ(fake.titleBuffer, "t" + std::string(254, '\0'));
    EXPECT_TRUE(fake.fileTerminated);
    EXPECT_TRUE(fake.titleTerminated);

    EXPECT_EQ(dialog.FileName, "C:\\dir\\a.bmp");
    EXPECT_EQ(dialog.FileTitle, "a.bmp");
    EXPECT_EQ(dialog.DirectoryName(), "C:\\dir");
    EXPECT_EQ(dialog.ExtendedError(), 0u);
    EXPECT_TRUE(fake.failures.empty());
}

TEST(CdlClass, ExplorerMultipleSelectionUsesTheWholeBuffer)
{
    FakeDialog fake;
    // Fill all 300 characters the dialog is told about.
    std::string names = "C:\\dir"s + '\0';
    while (names.size() < 300 - 8)
        names += "f.txt"s + '\0';
    names.resize(298, 'g');
    names += "\0\0"s;
    fake.answer = names;
    CdlClass dialog(fake.Platform());
    dialog.Flags = OfnAllowMultiSelect | OfnExplorer;
    dialog.MaxFileSize = 300;
    dialog.FileTitle = "kept";

    ASSERT_EQ(dialog.ShowSave(), DialogResult::Chosen);
    EXPECT_EQ(fake.saves, 1);
    EXPECT_EQ(fake.seen.nMaxFile, 300u);
    EXPECT_EQ(fake.fileBuffer.size(), 300u);
    EXPECT_TRUE(fake.fileTerminated);
    EXPECT_EQ(dialog.FileName, names.substr(0, 298));
    EXPECT_EQ(dialog.DirectoryName(), "C:\\dir");
    EXPECT_EQ(dialog.FileTitle, "kept");
}

TEST(CdlClass, CancelAndFailureLeaveTheNameAlone)
{
    struct Row { BOOL result; bool cancelError; std::uint32_t flags; std::string answer;
                 DialogResult expected; std::size_t failures; };
    const std::vector<Row> rows = {
        {0, true, 0, "", DialogResult::Cancelled, 0},
        {0, false, 0, "", DialogResult::NoChoice, 0},
        // old-style multiple selection without the double space it needs
        {1, true, OfnAllowMultiSelect, "C:\\DIR A.TXT"s + '\0', DialogResult::Failed, 1},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        FakeDialog fake;
        fake.result = rows[r].result;
        fake.answer = rows[r].answer;
        CdlClass dialog(fake.Platform());
        dialog.CancelError = rows[r].cancelError;
        dialog.Flags = rows[r].flags;
        dialog.FileName = "before.txt";
        EXPECT_EQ(dialog.ShowOpen(), rows[r].expected) << "row " << r;
        EXPECT_EQ(dialog.FileName, "before.txt") << "row " << r;
        EXPECT_EQ(dialog.DirectoryName(), "") << "row " << r;
        EXPECT_EQ(fake.failures.size(), rows[r].failures) << "row " << r;
    }
}

TEST(CdlClass, HugeBufferRequestIsReportedNotThrown)
{
    FakeDialog fake;
    CdlClass dialog(fake.Platform());
    dialog.MaxFileSize = 0x7fffffff;
    EXPECT_EQ(dialog.ShowOpen(), DialogResult::Failed);
    EXPECT_EQ(fake.opens, 0);
    // "メモリが不足しています。"
    EXPECT_EQ(fake.failures, std::vector<std::string>{"\x83\x81\x83\x82\x83\x8a\x82\xaa\x95\x73\x91\xab"
                                                      "\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81\x42"});
}

TEST(AskFile, SettingsHandedToTheDialog)
{
    const std::string filter = "Lumatrove List(*.ltl)|*.ltl";
    {
        FakeDialog fake;
        fake.answer = "C:\\x\\chosen.ltl"s + '\0';
        std::string name;
        EXPECT_TRUE(AskSaveFile(nullptr, name, filter, "*.ltl", fake.Platform()));
        EXPECT_EQ(name, "C:\\x\\chosen.ltl");
        EXPECT_EQ(fake.saves, 1);
        EXPECT_EQ(fake.seen.Flags, 12u);
        EXPECT_EQ(fake.defExt, "*.ltl");
        EXPECT_EQ(fake.initDir, ProgramFolder()) << "an empty name starts in the program's folder";
        EXPECT_EQ(fake.filter, "Lumatrove List(*.ltl)\0*.ltl"s);
    }
    {
        FakeDialog fake;
        fake.result = 0;
        std::string name = "C:\\x\\old.bmp";
        EXPECT_FALSE(AskOpenFile(nullptr, name, filter, fake.Platform()));
        EXPECT_EQ(name, "C:\\x\\old.bmp");
        EXPECT_EQ(fake.opens, 1);
        EXPECT_EQ(fake.initDir, "(null)");
        EXPECT_EQ(fake.defExt, "(null)");
        EXPECT_EQ(fake.fileBuffer.substr(0, 13), "C:\\x\\old.bmp"s + '\0');
    }
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(ProgramFolder() + "\\lt_win_tests.exe", exe);
}

// Acts on the dialog box the test thread shows next, from a second thread,
// the way a user would. A box that stays open is cancelled, so a failing test
// does not hang.
class DialogDriver {
    static BOOL CALLBACK TakeDialogBox(HWND w, LPARAM out)
    {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(w)) {
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        }
        return TRUE;
    }

public:
    explicit DialogDriver(std::function<void(HWND)> act)
        : owner_(GetCurrentThreadId()), thread_([this, act] { Run(act); })
    {
    }
    ~DialogDriver() { Wait(); }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // True when a dialog box showed up and was acted on.
    bool Wait()
    {
        if (thread_.joinable())
            thread_.join();
        return found_;
    }

private:
    HWND FindBox() const
    {
        HWND box = nullptr;
        EnumThreadWindows(owner_, TakeDialogBox, reinterpret_cast<LPARAM>(&box));
        return box;
    }

    void Run(const std::function<void(HWND)>& act)
    {
        using Clock = std::chrono::steady_clock;
        HWND box = nullptr;
        for (auto until = Clock::now() + std::chrono::seconds(20); !box && Clock::now() < until;) {
            Sleep(50);
            box = FindBox();
        }
        if (!box)
            return;
        found_ = true;
        act(box);
        for (auto until = Clock::now() + std::chrono::seconds(10); IsWindow(box) && Clock::now() < until;)
            Sleep(50);
        while (HWND left = FindBox()) {
            PostMessageA(left, WM_COMMAND, IDCANCEL, 0);
            Sleep(200);
        }
    }

    DWORD owner_;
    bool found_ = false;
    std::thread thread_;
};

// The name box is an Edit deep inside a combo box; it carries the combo's id
// (or edt1 in older layouts).
BOOL CALLBACK TakeNameBox(HWND w, LPARAM out)
{
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    const int id = GetDlgCtrlID(w);
    if (_stricmp(cls, "Edit") == 0 && (id == cmb13 || id == edt1)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

// Types a name into the file dialog's name box and presses its OK button.
void ChooseName(HWND dialog, const std::string& name)
{
    HWND edit = nullptr;
    EnumChildWindows(dialog, TakeNameBox, reinterpret_cast<LPARAM>(&edit));
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

TEST(FileDialogOnScreen, OpenReturnsTheTypedPath)
{
    test::TempFolder dir;
    // "ソ long name.bmp"
    const std::string file = dir.Write("\x83\x5c long name.bmp", test::BmpBytes);
    // "全てのﾌｧｲﾙ(*.*)|*.*"
    const std::string filter = "\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9(*.*)|*.*";
    std::string name;
    DialogDriver driver([&](HWND dialog) { ChooseName(dialog, file); });
    const bool chosen = AskOpenFile(nullptr, name, filter);
    ASSERT_TRUE(driver.Wait()) << "no dialog box showed up";
    EXPECT_TRUE(chosen);
    EXPECT_EQ(name, file);
}

} // namespace
} // namespace lt
