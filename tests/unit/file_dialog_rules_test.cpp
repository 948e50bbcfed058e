#include "dialogs/file_dialog_rules.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

// Shows NULs and other control bytes so a failing comparison is readable.
std::string Visible(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c == 0)
            out += "\\0";
        else if (c < 0x20 || c >= 0x80) {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else
            out += static_cast<char>(c);
    }
    return out;
}

TEST(FileDialogRules, FilterBarsBecomeNulsAndTheListEndsWithTwo) {
    struct Row { std::string in, out; };
    const std::vector<Row> rows = {
        {"A|*.a|B|*.b", "A\0*.a\0B\0*.b\0\0"s},
        {"A|*.a|", "A\0*.a\0\0\0"s},
        {"", "\0\0"s},
        {"||", "\0\0\0\0"s},
        // "Lumatrove List(*.ltl)|*.ltl|全てのﾌｧｲﾙ(*.*)|*.*"
        {"Lumatrove List(*.ltl)|*.ltl|\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9(*.*)|*.*",
         "Lumatrove List(*.ltl)\0*.ltl\0\x91\x53\x82\xc4\x82\xcc\xcc\xa7\xb2\xd9(*.*)\0*.*\0\0"s},
        // ポ is 83 7C: its trail byte is a bar but not a separator
        {"\x83\x7c|*.p", "\x83\x7c\0*.p\0\0"s},
        {"\x83|", "\x83|\0\0"s},
        // a lone lead byte at the end is one character of its own
        {"a|\x83", "a\0\x83\0\0"s},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // What the platform reads: the characters and the string's terminator.
        const auto converted = PlatformFilter(rows[r].in);
        const std::string got(converted.c_str(), converted.size() + 1);
        EXPECT_EQ(got, rows[r].out) << "row " << r << ": expected " << Visible(rows[r].out)
                                    << " got " << Visible(got);
    }
}

TEST(FileDialogRules, BufferLengthAndWhatTheDialogIsTold) {
    struct Row { std::int32_t maxFileSize; std::uint32_t flags; std::size_t length; std::uint32_t told; };
    const std::vector<Row> rows = {
        {0, 0, 255, 255},
        {255, 0, 255, 255},
        {256, 0, 256, 255},
        {300, 0, 300, 255},
        {300, 0x200, 300, 255},
        {300, 0x80000, 300, 255},
        {300, 0x80200, 300, 300},
        {300, 0x80200 | 0x0c, 300, 300},
        {0, 0x80200, 255, 255},
        {-1, 0x80200, 255, 255},
        {100, 0x80200, 255, 255},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto length = FileBufferLength(rows[r].maxFileSize);
        EXPECT_EQ(length, rows[r].length) << "row " << r;
        EXPECT_EQ(DialogMaxFile(rows[r].flags, length), rows[r].told) << "row " << r;
    }
}

TEST(FileDialogRules, BuffersArePaddedWithTheTerminatorAndEndWithIt) {
    struct Row { std::string text; std::size_t length; char t; std::string out; };
    const std::vector<Row> rows = {
        {"abc", 6, ' ', "abc   "},
        {"abc", 6, '\0', "abc\0\0\0"s},
        {"abcdef", 6, ' ', "abcde "},
        {"abcdefgh", 6, '\0', "abcde\0"s},
        {"abcde", 6, ' ', "abcde "},
        {"", 3, '\0', "\0\0\0"s},
        {"x", 1, ' ', " "},
        // ソ (83 5C) that would be cut in half is padded over
        {"ab\x83\x5c", 4, ' ', "ab  "},
        {"a\x83\x5c", 4, ' ', "a\x83\x5c "},
        {"a\x83\x5c" "b", 4, '\0', "a\x83\x5c\0"s},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto got = FillBuffer(rows[r].text, rows[r].length, rows[r].t);
        EXPECT_EQ(got, rows[r].out) << "row " << r << ": expected " << Visible(rows[r].out)
                                    << " got " << Visible(got);
    }

    // The defaults: a 255-character file buffer and title buffer.
    const std::string longName(300, 'n');
    const auto file = FillFileBuffer(longName, FileBufferLength(0), '\0');
    EXPECT_EQ(file, std::string(254, 'n') + '\0');
    const auto title = FillTitleBuffer("t.txt", ' ');
    EXPECT_EQ(title, "t.txt" + std::string(250, ' '));
}

TEST(FileDialogRules, FolderPart) {
    struct Row { std::string path, folder; };
    const std::vector<Row> rows = {
        {"C:\\dir\\a.bmp", "C:\\dir"},
        {"C:\\a.bmp", "C:"},
        {"C:a.bmp", "C:"},
        {"C:\\", "C:"},
        {"C:\\dir\\", "C:\\dir"},
        {"C:\\dir\\\\a", "C:\\dir\\"},   // only one trailing backslash goes
        {"\\\\server\\share\\x.txt", "\\\\server\\share"},
        {"x.txt", ""},
        {"", ""},
        {"\x83\x5c.txt", ""},                          // ソ.txt
        {"C:\\\x83\x5c\\a.txt", "C:\\\x83\x5c"},       // C:\ソ\a.txt
        {"C:\\\x83\x5c", "C:"},                        // C:\ソ: no folder after the drive
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(FolderPart(rows[r].path), rows[r].folder) << "row " << r << " path " << Visible(rows[r].path);
}

TEST(FileDialogRules, LongNameFormLooksUpEachPrefix) {
    const std::map<std::string, std::string> disk = {
        {"C:\\PROGRA~1", "Program Files"},
        {"C:\\PROGRA~1\\LONGNA~1", "Long name"},
        {"C:\\PROGRA~1\\GONE\\X", "x"},
        {"C:\\\x83\x5c", "\x83\x5c\x83\x5c"},          // C:\ソ -> ソソ
        {"C:\\\x83\x5c\\A", "a"},
    };
    struct Row { std::string path, longForm; std::vector<std::string> asked; };
    const std::vector<Row> rows = {
        {"C:\\PROGRA~1\\LONGNA~1", "C:\\Program Files\\Long name",
         {"C:\\PROGRA~1", "C:\\PROGRA~1\\LONGNA~1"}},
        // a component the disk does not know is left out
        {"C:\\PROGRA~1\\GONE\\X", "C:\\Program Files\\x",
         {"C:\\PROGRA~1", "C:\\PROGRA~1\\GONE", "C:\\PROGRA~1\\GONE\\X"}},
        {"C:\\\x83\x5c\\A", "C:\\\x83\x5c\x83\x5c\\a", {"C:\\\x83\x5c", "C:\\\x83\x5c\\A"}},
        {"C:\\", "C:", {"C:\\"}},
        {"C:", "C:", {}},
        {"", "", {}},
        {"\x83\x5c", "\x83\x5c", {}},                  // ソ alone holds no separator
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> asked;
        const NameLookup lookup = [&](const std::string& prefix) -> std::optional<std::string> {
            asked.push_back(prefix);
            const auto it = disk.find(prefix);
            if (it == disk.end())
                return std::nullopt;
            return it->second;
        };
        EXPECT_EQ(LongNameForm(rows[r].path, lookup), rows[r].longForm) << "row " << r;
        EXPECT_EQ(asked, rows[r].asked) << "row " << r;
    }
}

TEST(FileDialogRules, ReadBackBySelectionMode) {
    using Opt = std::optional<std::string>;
    const NameLookup lookup = [](const std::string& prefix) -> std::optional<std::string> {
        if (prefix == "C:\\PROGRA~1")
            return "Program Files"s;
        return std::nullopt;
    };
    struct Row {
        std::uint32_t flags;
        std::string file, title;
        Opt fileName, fileTitle, directory;
        bool fails;
    };
    const std::vector<Row> rows = {
        // single selection
        {0x0c, "C:\\dir\\a.bmp\0old"s, "a.bmp\0ld\0"s, "C:\\dir\\a.bmp", "a.bmp", "C:\\dir", false},
        {0x80000, "C:\\a.bmp\0\0"s, "a.bmp\0"s, "C:\\a.bmp", "a.bmp", "C:", false},
        {0, "C:\\a.bmp"s, "a.bmp\0"s, {}, {}, {}, true},
        {0, "C:\\a.bmp\0"s, "a.bmp"s, "C:\\a.bmp", {}, {}, true},
        // explorer multiple selection
        {0x80200, "C:\\dir\0a.txt\0b.txt\0\0rest"s, "keep\0"s,
         "C:\\dir\0a.txt\0b.txt"s, {}, "C:\\dir", false},
        {0x80200, "C:\\dir\\a.txt\0\0"s, ""s, "C:\\dir\\a.txt"s, {}, "C:\\dir\\a.txt", false},
        {0x80200, "C:\\dir\0a.txt\0"s, ""s, {}, {}, {}, true},
        // old-style multiple selection: the folder comes back in short form
        {0x200, "C:\\PROGRA~1 A.TXT B.TXT    "s, ""s,
         "C:\\PROGRA~1 A.TXT B.TXT", {}, "C:\\Program Files", false},
        {0x200, "C:\\PROGRA~1\\A.TXT  "s, ""s, "C:\\PROGRA~1\\A.TXT", {}, "C:\\Program Files", false},
        {0x200, "C:\\PROGRA~1 A.TXT\0\0\0"s, ""s, {}, {}, {}, true},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto got = ReadBackSelection(rows[r].flags, rows[r].file, rows[r].title, lookup);
        EXPECT_EQ(got.FileName, rows[r].fileName) << "row " << r;
        EXPECT_EQ(got.FileTitle, rows[r].fileTitle) << "row " << r;
        EXPECT_EQ(got.DirectoryName, rows[r].directory) << "row " << r;
        EXPECT_EQ(got.Failure.has_value(), rows[r].fails) << "row " << r;
        if (got.Failure) {
            EXPECT_FALSE(got.Failure->empty()) << "row " << r;
        }
    }
}

} // namespace
} // namespace lt
