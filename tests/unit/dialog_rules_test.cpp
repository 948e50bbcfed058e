#include <gtest/gtest.h>

#include <array>
#include <map>

#include "dialogs/file_dialog_rules.h"
#include "dialogs/font_dialog_rules.h"
#include "dialogs/text_layout.h"

using namespace lt;
using namespace std::string_literals;
using Strings = std::vector<std::pair<std::string, std::string>>;

TEST(FileDialogRules, FilterAndBuffers)
{
    // ポ (83 7C): its trail byte is a bar, not a separator; a lone lead byte at the end stands alone. The
    // platform reads up to the terminator.
    const Strings filters = {{"A|*.a|B|*.b", "A\0*.a\0B\0*.b\0\0"s},
                             {"", "\0\0"s},
                             {"\x83\x7c|*.p", "\x83\x7c\0*.p\0\0"s},
                             {"a|\x83", "a\0\x83\0\0"s}};
    for (const auto& [in, out] : filters)
        EXPECT_EQ(std::string(PlatformFilter(in).c_str(), PlatformFilter(in).size() + 1), out) << in;
    // MaxFileSize, flags -> buffer length, what the dialog is told.
    const std::vector<std::tuple<std::int32_t, std::uint32_t, std::size_t, std::uint32_t>> sizes = {
        {0, 0x80200, 255, 255}, {-1, 0x80200, 255, 255}, {255, 0x80200, 255, 255}, {256, 0x80200, 256, 256},
        {300, 0, 300, 255},     {300, 0x200, 300, 255},  {300, 0x80000, 300, 255}, {300, 0x8020c, 300, 300}};
    for (const auto& [max, flags, length, told] : sizes)
        EXPECT_EQ(std::make_tuple(FileBufferLength(max), DialogMaxFile(flags, length)), std::tie(length, told))
            << max << " " << flags;
    // ソ (83 5C) that would be cut in half is padded over.
    const std::vector<std::tuple<std::string, std::size_t, char, std::string>> fills = {
        {"abc", 6, '\0', "abc\0\0\0"s}, {"abcde", 6, ' ', "abcde "},
        {"abcdef", 6, ' ', "abcde "},   {"x", 1, ' ', " "},
        {"ab\x83\x5c", 4, ' ', "ab  "}, {"a\x83\x5c", 4, ' ', "a\x83\x5c "}};
    for (const auto& [text, length, t, out] : fills)
        EXPECT_EQ(FillBuffer(text, length, t), out) << text;
}

TEST(FileDialogRules, FolderAndLongNames)
{
    // One trailing backslash goes; ソ and 表 end in 5C without being separators.
    const Strings folders = {{"C:\\dir\\a.bmp", "C:\\dir"},
                             {"C:\\a.bmp", "C:"},
                             {"C:a.bmp", "C:"},
                             {"\\\\server\\share\\x.txt", "\\\\server\\share"},
                             {"x.txt", ""},
                             {"C:\\dir\\\\a", "C:\\dir\\"},
                             {"C:\\\x83\x5c", "C:"},
                             {"C:\\\x95\x5c\\\x95\x5c.bmp", "C:\\\x95\x5c"}};
    for (const auto& [path, folder] : folders)
        EXPECT_EQ(FolderPart(path), folder) << path;

    const std::map<std::string, std::string> disk = {{"C:\\PROGRA~1", "Program Files"}, {"C:\\\x83\x5c", "x"}};
    const NameLookup lookup = [&](const std::string& prefix) {
        const auto it = disk.find(prefix);
        return it == disk.end() ? std::nullopt : std::optional(it->second);
    };
    // A component the disk does not know is left out.
    const Strings longForms = {
        {"C:\\PROGRA~1\\GONE", "C:\\Program Files"}, {"C:\\\x83\x5c", "C:\\x"}, {"C:", "C:"}, {"\x83\x5c", "\x83\x5c"}};
    for (const auto& [path, longForm] : longForms)
        EXPECT_EQ(LongNameForm(path, lookup), longForm) << path;
}

TEST(FileDialogRules, ReadBackBySelectionMode)
{
    using Opt = std::optional<std::string>;
    const NameLookup lookup = [](const std::string& prefix) {
        return prefix == "C:\\PROGRA~1" ? Opt("Program Files") : std::nullopt;
    };
    // flags, file buffer, title buffer -> FileName, FileTitle, DirectoryName, a failure: single selection
    // (with or without the explorer bit), explorer multiple selection, old-style multiple selection (its
    // folder comes back in short form).
    const std::vector<std::tuple<std::uint32_t, std::string, std::string, Opt, Opt, Opt, bool>> rows = {
        {0x0c, "C:\\dir\\a.bmp\0old"s, "a.bmp\0ld\0"s, "C:\\dir\\a.bmp", "a.bmp", "C:\\dir", false},
        {0x80000, "C:\\a.bmp\0\0"s, "a.bmp\0"s, "C:\\a.bmp", "a.bmp", "C:", false},
        {0, "C:\\a.bmp"s, "a.bmp\0"s, {}, {}, {}, true},
        {0, "C:\\a.bmp\0"s, "a.bmp"s, "C:\\a.bmp", {}, {}, true},
        {0x80200, "C:\\dir\0a.txt\0b.txt\0\0rest"s, "keep\0"s, "C:\\dir\0a.txt\0b.txt"s, {}, "C:\\dir", false},
        {0x80200, "C:\\dir\0a.txt\0"s, ""s, {}, {}, {}, true},
        {0x200, "C:\\PROGRA~1 A.TXT B.TXT    "s, ""s, "C:\\PROGRA~1 A.TXT B.TXT", {}, "C:\\Program Files", false},
        {0x200, "C:\\PROGRA~1 A.TXT\0\0\0"s, ""s, {}, {}, {}, true}};
    for (const auto& [flags, file, title, fileName, fileTitle, directory, fails] : rows) {
        const auto got = ReadBackSelection(flags, file, title, lookup);
        EXPECT_EQ(std::make_tuple(got.FileName, got.FileTitle, got.DirectoryName, got.Failure && !got.Failure->empty()),
                  std::tie(fileName, fileTitle, directory, fails))
            << flags << " " << file;
    }
}

TEST(FontDialogRules, RoundingAndFaceNames)
{
    // Tenths of a point back to whole points, halves to even.
    EXPECT_EQ(std::make_tuple(PointsFromTenths(105), PointsFromTenths(115)), std::make_tuple(10, 12));
    EXPECT_EQ(FontHeightForPoints(10, 96), 13); // 13.33
    EXPECT_EQ(FontHeightForPoints(3, 60), 2);   // 2.5 to even
    EXPECT_FALSE(IsBoldWeight(600));

    // The field always keeps a NUL and never ends inside a double-byte character.
    const std::string wide16 = "あいうえおかきくけこさしすせそた"; // 32 bytes
    const Strings names = {{"ＭＳ Ｐ明朝", "ＭＳ Ｐ明朝"},
                           {std::string(40, 'a'), std::string(31, 'a')},
                           {wide16, wide16.substr(0, 30)},
                           {std::string("a").append(wide16), std::string("a").append(wide16, 0, 30)}};
    for (const auto& [name, kept] : names) {
        const auto field = FaceNameField(name);
        EXPECT_EQ(std::string(field.data(), field.size()), kept + std::string(FaceNameSize - kept.size(), '\0'));
    }
}

TEST(TextLayout, CentringAndWrapping)
{
    EXPECT_EQ((std::array{CenteredStart(353, 101), CenteredStart(354, 101), CenteredStart(161, 100)}),
              (std::array{302, 304, 111})); // halves to even

    const auto measure = [](std::string_view s) { return static_cast<int>(s.size()) * 10; }; // a character: 20
    using V = std::vector<std::string>;
    const std::vector<std::tuple<const char*, TextBox, V>> cases = {
        {"", {0, 0, 50, 100}, V{""}},
        {"abc", {5, 7, 50, 100}, V{"abc"}},
        {"abcdefgh", {0, 0, 50, 100}, V{"abcde", "fgh"}},
        {"ab\r\ncd", {0, 0, 50, 100}, V{"ab", "cd"}},
        {"ab\r\n", {0, 0, 50, 100}, V{"ab"}},
        {"abcdefghijklmnop", {0, 0, 50, 20}, V{"abcde", "fghij"}},          // stops at the bottom
        {"abc", {0, 0, 5, 30}, V{"", "", ""}},                              // nothing fits
        {"a\x82\xa0\x82\xa0", {0, 0, 40, 100}, V{"a\x82\xa0", "\x82\xa0"}}, // never splits a character
        {"ab\x82", {0, 0, 50, 100}, V{"ab\x82"}},                           // a lone lead byte stays
    };
    for (const auto& [text, box, want] : cases) {
        const auto lines = WrapText(text, box, 10, measure);
        V got;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            got.push_back(lines[n].Text);
            EXPECT_EQ(std::make_tuple(lines[n].X, lines[n].Y), std::make_tuple(box.Left, box.Top + 10 * int(n)))
                << text;
        }
        EXPECT_EQ(got, want) << text;
    }
    EXPECT_EQ(WrapText("abc", {0, 0, 5, 3}, 0, measure).size(), 3u) << "a zero line height still ends";
}
