#include "dialogs/file_dialog_rules.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

TEST(FileDialogRules, FilterBarsBecomeNulsAndTheListEndsWithTwo)
{
    struct Row {
        std::string in, out;
    };
    const std::vector<Row> rows = {
        {"A|*.a|B|*.b", "A\0*.a\0B\0*.b\0\0"s},
        {"", "\0\0"s},
        {"\x83\x7c|*.p", "\x83\x7c\0*.p\0\0"s}, // ポ: its trail byte is a bar, not a separator
        {"a|\x83", "a\0\x83\0\0"s},             // a lone lead byte at the end stands alone
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // What the platform reads: the characters and the string's terminator.
        const auto converted = PlatformFilter(rows[r].in);
        EXPECT_EQ(std::string(converted.c_str(), converted.size() + 1), rows[r].out) << "row " << r;
    }
}

TEST(FileDialogRules, BufferLengthAndWhatTheDialogIsTold)
{
    struct Row {
        std::int32_t maxFileSize;
        std::uint32_t flags;
        std::size_t length;
        std::uint32_t told;
    };
    const std::vector<Row> rows = {
        {0, 0x80200, 255, 255}, {-1, 0x80200, 255, 255}, {255, 0x80200, 255, 255}, {256, 0x80200, 256, 256},
        {300, 0, 300, 255},     {300, 0x200, 300, 255},  {300, 0x80000, 300, 255}, {300, 0x8020c, 300, 300},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto length = FileBufferLength(rows[r].maxFileSize);
        EXPECT_EQ(length, rows[r].length) << "row " << r;
        EXPECT_EQ(DialogMaxFile(rows[r].flags, length), rows[r].told) << "row " << r;
    }
}

TEST(FileDialogRules, BuffersArePaddedWithTheTerminatorAndEndWithIt)
{
    struct Row {
        std::string text;
        std::size_t length;
        char t;
        std::string out;
    };
    const std::vector<Row> rows = {
        {"abc", 6, '\0', "abc\0\0\0"s},      {"abcde", 6, ' ', "abcde "},
        {"abcdef", 6, ' ', "abcde "},        {"x", 1, ' ', " "},
        {"ab\x83\x5c", 4, ' ', "ab  "}, // ソ (83 5C) that would be cut in half is padded over
        {"a\x83\x5c", 4, ' ', "a\x83\x5c "},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(FillBuffer(rows[r].text, rows[r].length, rows[r].t), rows[r].out) << "row " << r;
}

TEST(FileDialogRules, FolderPart)
{
    struct Row {
        std::string path, folder;
    };
    const std::vector<Row> rows = {
        {"C:\\dir\\a.bmp", "C:\\dir"},
        {"C:\\a.bmp", "C:"},
        {"C:a.bmp", "C:"},
        {"\\\\server\\share\\x.txt", "\\\\server\\share"},
        {"x.txt", ""},
        {"C:\\dir\\\\a", "C:\\dir\\"}, // only one trailing backslash goes
        {"C:\\\x83\x5c", "C:"},        // C:\ソ: the trail byte is no separator
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(FolderPart(rows[r].path), rows[r].folder) << "row " << r;
}

TEST(FileDialogRules, LongNameFormLooksUpEachPrefix)
{
    const std::map<std::string, std::string> disk = {
        {"C:\\PROGRA~1", "Program Files"}, {"C:\\PROGRA~1\\LONGNA~1", "Long name"},
        {"C:\\PROGRA~1\\GONE\\X", "x"},    {"C:\\\x83\x5c", "\x83\x5c\x83\x5c"}, // C:\ソ -> ソソ
        {"C:\\\x83\x5c\\A", "a"},
    };
    const NameLookup lookup = [&](const std::string& prefix) {
        const auto it = disk.find(prefix);
        return it == disk.end() ? std::nullopt : std::optional(it->second);
    };
    struct Row {
        std::string path, longForm;
    };
    const std::vector<Row> rows = {
        {"C:\\PROGRA~1\\LONGNA~1", "C:\\Program Files\\Long name"},
        {"C:\\PROGRA~1\\GONE\\X", "C:\\Program Files\\x"}, // a component the disk does not know is left out
        {"C:\\\x83\x5c\\A", "C:\\\x83\x5c\x83\x5c\\a"},
        {"C:", "C:"},
        {"\x83\x5c", "\x83\x5c"}, // ソ alone holds no separator
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(LongNameForm(rows[r].path, lookup), rows[r].longForm) << "row " << r;
}

TEST(FileDialogRules, ReadBackBySelectionMode)
{
    using Opt = std::optional<std::string>;
    const NameLookup lookup = [](const std::string& prefix) {
        return prefix == "C:\\PROGRA~1" ? Opt("Program Files") : std::nullopt;
    };
    struct Row {
        std::uint32_t flags;
        std::string file, title;
        Opt fileName, fileTitle, directory;
        bool fails;
    };
    const std::vector<Row> rows = {
        // single selection, with or without the explorer bit
        {0x0c, "C:\\dir\\a.bmp\0old"s, "a.bmp\0ld\0"s, "C:\\dir\\a.bmp", "a.bmp", "C:\\dir", false},
        {0x80000, "C:\\a.bmp\0\0"s, "a.bmp\0"s, "C:\\a.bmp", "a.bmp", "C:", false},
        {0, "C:\\a.bmp"s, "a.bmp\0"s, {}, {}, {}, true},
        {0, "C:\\a.bmp\0"s, "a.bmp"s, "C:\\a.bmp", {}, {}, true},
        // explorer multiple selection
        {0x80200, "C:\\dir\0a.txt\0b.txt\0\0rest"s, "keep\0"s, "C:\\dir\0a.txt\0b.txt"s, {}, "C:\\dir", false},
        {0x80200, "C:\\dir\0a.txt\0"s, ""s, {}, {}, {}, true},
        // old-style multiple selection: the folder comes back in short form
        {0x200, "C:\\PROGRA~1 A.TXT B.TXT    "s, ""s, "C:\\PROGRA~1 A.TXT B.TXT", {}, "C:\\Program Files", false},
        {0x200, "C:\\PROGRA~1 A.TXT\0\0\0"s, ""s, {}, {}, {}, true},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto got = ReadBackSelection(rows[r].flags, rows[r].file, rows[r].title, lookup);
        EXPECT_EQ(got.FileName, rows[r].fileName) << "row " << r;
        EXPECT_EQ(got.FileTitle, rows[r].fileTitle) << "row " << r;
        EXPECT_EQ(got.DirectoryName, rows[r].directory) << "row " << r;
        EXPECT_EQ(got.Failure.has_value() && !got.Failure->empty(), rows[r].fails) << "row " << r;
    }
}

} // namespace
} // namespace lt
