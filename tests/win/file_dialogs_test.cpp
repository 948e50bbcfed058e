#include <gtest/gtest.h>

#include <cstring>

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

// Stands in for the platform dialog: keeps what it was handed and answers
// like the dialog would.
struct FakeDialog {
    BOOL result = 1;
    std::string answer; // written into the file buffer, as the dialog does
    int calls = 0;
    std::vector<std::string> failures;
    OPENFILENAMEA seen{};
    std::string fileBuffer, titleBuffer, initDir, defExt;
    bool terminated = false; // a NUL after both buffers

    DialogPlatform Platform()
    {
        auto run = [this](OPENFILENAMEA* ofn) -> BOOL {
            ++calls;
            seen = *ofn;
            fileBuffer.assign(ofn->lpstrFile, ofn->nMaxFile);
            titleBuffer.assign(ofn->lpstrFileTitle, ofn->nMaxFileTitle);
            terminated = !ofn->lpstrFile[ofn->nMaxFile] && !ofn->lpstrFileTitle[ofn->nMaxFileTitle];
            initDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "(null)";
            defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "(null)";
            if (result == 1) {
                EXPECT_LE(answer.size(), ofn->nMaxFile) << "the fake must stay inside the buffer";
                std::memcpy(ofn->lpstrFile, answer.data(), answer.size());
                std::memcpy(ofn->lpstrFileTitle, "a.bmp", 6);
            }
            return result;
        };
        return {run, run, [this](HWND, const std::string& text) { failures.push_back(text); }};
    }
};

TEST(CdlClass, BuffersHandedToThePlatformAndReadBack)
{
    FakeDialog fake;
    fake.answer = "C:\\dir\\a.bmp"s + '\0';
    CdlClass dialog(fake.Platform());
    dialog.FileName = "start.bmp";
    dialog.FileTitle = "t";
    dialog.MaxFileSize = 300;
    ASSERT_EQ(dialog.ShowOpen(), DialogResult::Chosen);
    EXPECT_EQ(fake.seen.lStructSize, 76u);
    EXPECT_EQ(fake.seen.nMaxFile, 255u) << "single selection is told 255 whatever the buffer";
    EXPECT_EQ(fake.fileBuffer, "start.bmp" + std::string(246, '\0')); // NUL padding on the NT family
    EXPECT_EQ(fake.titleBuffer, "t" + std::string(254, '\0'));
    EXPECT_TRUE(fake.terminated);
    EXPECT_EQ(dialog.FileName, "C:\\dir\\a.bmp");
    EXPECT_EQ(dialog.FileTitle, "a.bmp");
    EXPECT_EQ(dialog.DirectoryName(), "C:\\dir");

    // Explorer multiple selection filling all 300 characters it is told of.
    std::string names = "C:\\dir"s + '\0';
    while (names.size() < 292)
        names += "f.txt"s + '\0';
    names.resize(298, 'g');
    FakeDialog multi;
    multi.answer = names + "\0\0"s;
    CdlClass many(multi.Platform());
    many.Flags = OfnAllowMultiSelect | OfnExplorer;
    many.MaxFileSize = 300;
    ASSERT_EQ(many.ShowSave(), DialogResult::Chosen);
    EXPECT_EQ(multi.seen.nMaxFile, 300u);
    EXPECT_TRUE(multi.terminated);
    EXPECT_EQ(many.FileName, names);
    EXPECT_EQ(many.DirectoryName(), "C:\\dir");
}

TEST(CdlClass, CancelAndFailureLeaveTheNameAlone)
{
    // result, CancelError, flags, MaxFileSize, answer -> outcome, platform calls, failures reported
    const std::vector<std::tuple<BOOL, bool, std::uint32_t, std::int32_t, std::string, DialogResult, int, std::size_t>>
        rows = {{0, true, 0, 0, "", DialogResult::Cancelled, 1, 0},
                {0, false, 0, 0, "", DialogResult::NoChoice, 1, 0},
                // old-style multiple selection without the double space it needs
                {1, true, OfnAllowMultiSelect, 0, "C:\\DIR A.TXT"s + '\0', DialogResult::Failed, 1, 1},
                // a buffer too big to allocate is reported, not thrown
                {1, true, 0, 0x7fffffff, "", DialogResult::Failed, 0, 1}};
    for (const auto& [result, cancelError, flags, size, answer, outcome, calls, failures] : rows) {
        FakeDialog fake;
        fake.result = result;
        fake.answer = answer;
        CdlClass dialog(fake.Platform());
        dialog.CancelError = cancelError;
        dialog.Flags = flags;
        dialog.MaxFileSize = size;
        dialog.FileName = "before.txt";
        EXPECT_EQ(dialog.ShowOpen(), outcome) << "flags " << flags << " size " << size;
        EXPECT_EQ(dialog.FileName, "before.txt");
        EXPECT_EQ(fake.calls, calls);
        EXPECT_EQ(fake.failures.size(), failures);
    }
}

TEST(AskFile, SettingsHandedToTheDialog)
{
    FakeDialog save;
    save.answer = "C:\\x\\chosen.ltl"s + '\0';
    std::string name;
    EXPECT_TRUE(AskSaveFile(nullptr, name, "L|*.ltl", "ltl", save.Platform()));
    EXPECT_EQ(name, "C:\\x\\chosen.ltl");
    EXPECT_EQ(save.seen.Flags, 12u);
    EXPECT_EQ(save.defExt, "ltl");
    EXPECT_EQ(save.initDir, ProgramFolder()) << "an empty name starts in the program's folder";

    FakeDialog open;
    open.result = 0;
    name = "C:\\x\\old.bmp";
    EXPECT_FALSE(AskOpenFile(nullptr, name, "A|*.*", open.Platform()));
    EXPECT_EQ(name, "C:\\x\\old.bmp");
    EXPECT_EQ(open.initDir, "(null)");

    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(ProgramFolder() + "\\lt_win_tests.exe", exe);
}

} // namespace
} // namespace lt
