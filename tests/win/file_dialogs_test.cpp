#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "dialogs/cdl_class.h"
#include "dialogs/file_dialog_rules.h"
#include "dialogs/file_dialogs.h"
#include "temp_folder.h"

using namespace lt;
using namespace std::string_literals;

// GetShortPathNameA or GetLongPathNameA of path; empty when it fails.
static std::string PathVia(DWORD(WINAPI* convert)(LPCSTR, LPSTR, DWORD), const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD n = convert(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

TEST(FileDialogPlatform, LongNameFormOfRealShortPaths)
{
    test::TempFolder dir;
    const std::string folder = PathVia(GetLongPathNameA, dir.Path()) + "\\Long Folder Name";
    const std::string deep = folder + "\\ソフト long"; // a 5C trail byte
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && CreateDirectoryA(deep.c_str(), nullptr));
    const std::string file = deep + "\\Another Long Name.txt";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    for (const std::string& path : {deep, file}) {
        const std::string shortForm = PathVia(GetShortPathNameA, path);
        ASSERT_NE(shortForm, path) << "the platform should hand out 8.3 names";
        EXPECT_EQ(LongNameForm(shortForm, FindLongName), path) << "short form " << shortForm;
    }
}

// Stands in for the platform dialog: keeps what it was handed and answers like the dialog would.
struct FakeDialog {
    BOOL result = 1;
    std::string answer, fileBuffer; // answer: written into the file buffer, as the dialog does
    int calls = 0;
    std::vector<std::string> failures;
    DWORD size = 0, told = 0, flags = 0;
    bool terminated = false; // a NUL after both buffers

    DialogPlatform Platform()
    {
        auto run = [this](OPENFILENAMEA* ofn) -> BOOL {
            ++calls, size = ofn->lStructSize, told = ofn->nMaxFile, flags = ofn->Flags;
            fileBuffer.assign(ofn->lpstrFile, ofn->nMaxFile);
            terminated = !ofn->lpstrFile[ofn->nMaxFile] && !ofn->lpstrFileTitle[ofn->nMaxFileTitle];
            if (result == 1)
                std::memcpy(ofn->lpstrFile, answer.data(), std::min<std::size_t>(answer.size(), ofn->nMaxFile));
            return result;
        };
        return {run, run, [this](HWND, const std::string& text) { failures.push_back(text); }};
    }
};

// The record handed over is the version-4 one of this architecture: 76 bytes
// on 32-bit, 136 on 64-bit.
TEST(CdlClass, WhatThePlatformIsHandedAndWhatComesBackOnThisArchitecture)
{
    const unsigned recordSize = sizeof(void*) == 4 ? 76u : 136u;
    // result, CancelError, flags, MaxFileSize, answer -> outcome, FileName, platform calls, failures reported. Single
    // selection is told 255 whatever the buffer; explorer multiple selection uses all of it. An old-style multiple
    // selection without the double space it needs fails; so does a buffer too big to allocate, reported, not thrown
    // (on 32-bit; a 64-bit process has room for the largest buffer asked for).
    const std::string names = "C:\\dir"s + '\0' + std::string(290, 'f') + '\0';
    std::vector<
        std::tuple<BOOL, bool, std::uint32_t, std::int32_t, std::string, DialogResult, std::string, int, std::size_t>>
        rows = {{1, true, 0, 300, "C:\\dir\\a.bmp"s + '\0', DialogResult::Chosen, "C:\\dir\\a.bmp", 1, 0},
                {1, true, OfnAllowMultiSelect | OfnExplorer, 300, names + '\0', DialogResult::Chosen,
                 names.substr(0, names.size() - 1), 1, 0},
                {0, true, 0, 0, "", DialogResult::Cancelled, "before.txt", 1, 0},
                {0, false, 0, 0, "", DialogResult::NoChoice, "before.txt", 1, 0},
                {1, true, OfnAllowMultiSelect, 0, "C:\\DIR A.TXT"s + '\0', DialogResult::Failed, "before.txt", 1, 1}};
    if (sizeof(void*) == 4)
        rows.emplace_back(1, true, 0, 0x7fffffff, "", DialogResult::Failed, "before.txt", 0, 1);
    for (const auto& [result, cancelError, flags, max, answer, outcome, name, calls, failures] : rows) {
        FakeDialog fake;
        fake.result = result, fake.answer = answer;
        CdlClass dialog(fake.Platform());
        dialog.CancelError = cancelError, dialog.Flags = flags, dialog.MaxFileSize = max;
        dialog.FileName = "before.txt";
        EXPECT_EQ(dialog.ShowOpen(), outcome) << "flags " << flags << " size " << max;
        EXPECT_EQ(std::make_tuple(dialog.FileName, fake.calls, fake.failures.size()), std::tie(name, calls, failures));
        if (calls) { // the buffer NUL padded as on the NT family
            EXPECT_EQ(std::make_tuple(fake.size, fake.told, fake.terminated, fake.fileBuffer.substr(0, 11)),
                      std::make_tuple(recordSize, (flags & OfnExplorer) ? 300u : 255u, true, "before.txt"s + '\0'));
        }
    }
}

TEST(FileDialogs, OpenNeedsAnExistingFileAndSaveAsksBeforeOverwriting)
{
    FakeDialog open, save;
    open.answer = save.answer = "C:\\dir\\a.ltl"s + '\0';
    std::string name;
    EXPECT_TRUE(AskOpenFile(nullptr, name, "All|*.*|", open.Platform()));
    EXPECT_TRUE(AskSaveFile(nullptr, name, "List|*.ltl|", "ltl", save.Platform()));
    EXPECT_EQ(open.flags, DWORD{OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST});
    EXPECT_EQ(save.flags, DWORD{OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT});
}
