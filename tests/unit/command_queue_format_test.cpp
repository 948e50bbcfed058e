#include "core/command_queue_format.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

TEST(CommandQueueFormat, CommandLineToPieces)
{
    const std::vector<std::pair<std::string, std::string>> args = {
        {"\"C:\\a b\\x.exe\" C:\\song.mp3", "C:\\song.mp3"},
        {"\"C:\\a b\\x.exe\"  \t/S", "/S"},
        {"C:\\x.exe\t \"C:\\my file.bmp\" ", "\"C:\\my file.bmp\" "},
        {"\"C:\\a b\\x.exe\" ", ""},
        {"\"C:\\unclosed b.exe /S", ""}};
    for (const auto& [line, rest] : args)
        EXPECT_EQ(ArgumentsOf(line), rest) << line;
    EXPECT_EQ(ArgumentsOf("x.exe " + std::string(30005, 'a')), std::string(30000, 'a'));
    // A double-byte character counts once and is never split.
    const std::string a = "\x82\xa0", kept = std::string(29999, 'a') + a; // あ
    EXPECT_EQ(ArgumentsOf("x.exe " + kept + a), kept);

    EXPECT_EQ(SplitPieces("a\r\nb\r\nc"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(SplitPieces("a\r\n"), Strings{"a"});
    EXPECT_EQ(SplitPieces("\r\na"), (Strings{"", "a"}));
    EXPECT_EQ(SplitPieces("a\nb\rc"), Strings{"a\nb\rc"}) << "a lone CR or LF is part of the path";
}

TEST(CommandQueueFormat, AppendAndParse)
{
    Bytes image;
    ASSERT_TRUE(AppendRecord(image, "abc"));
    EXPECT_EQ(image, (Bytes{1, 0, 3, 0, 'a', 'b', 'c'}));
    const std::string japanese = "C:\\\x89\xb9\x8a\x79.mid"; // C:\音楽.mid
    ASSERT_TRUE(AppendRecord(image, japanese));
    ASSERT_TRUE(AppendRecord(image, ""));
    EXPECT_EQ(image[7], japanese.size()) << "length counts bytes";
    EXPECT_EQ(ParseQueue(image), (Strings{"abc", japanese, ""}));
    EXPECT_EQ(EndOfRecords(image).Count, 3u);
    EXPECT_EQ(EndOfRecords(image).Offset, image.size());

    // Bytes of a write cut short after the last whole record are replaced.
    Bytes cut{1, 0, 1, 0, 'a', 9, 0, 'h', 'a'};
    ASSERT_TRUE(AppendRecord(cut, "b"));
    EXPECT_EQ(cut, (Bytes{2, 0, 1, 0, 'a', 1, 0, 'b'}));
    Bytes stub{7}; // too short to hold a count: started afresh
    ASSERT_TRUE(AppendRecord(stub, "x"));
    EXPECT_EQ(stub, (Bytes{1, 0, 1, 0, 'x'}));

    Bytes full(2 + 2 * 32767, 0); // 32767 empty records
    full[0] = 0xFF, full[1] = 0x7F;
    const Bytes before = full;
    EXPECT_FALSE(AppendRecord(full, "x"));
    EXPECT_EQ(full, before);
    Bytes big;
    EXPECT_FALSE(AppendRecord(big, std::string(65536, 'a')));
    EXPECT_TRUE(AppendRecord(big, std::string(65535, 'a')));
    EXPECT_EQ(ParseQueue(big).at(0).size(), 65535u);
}

TEST(CommandQueueFormat, DamagedImagesGiveTheirWholeRecords)
{
    const std::vector<std::pair<Bytes, Strings>> rows = {
        {{1}, {}},
        {{0, 0, 1, 0, 'a'}, {}},                          // count 0
        {{5, 0, 1, 0, 'a'}, {"a"}},                       // count larger than the records
        {{0xFF, 0xFF, 1, 0, 'a', 1, 0, 'b'}, {"a", "b"}}, // negative count
        {{2, 0, 1, 0, 'a', 3, 0, 'b'}, {"a"}},            // second record cut short
        {{2, 0, 1, 0, 'a', 9}, {"a"}},                    // half a length field
        {{1, 0, 0xFF, 0xFF, 'a'}, {}}};                   // length 65535 past the end
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(ParseQueue(rows[r].first), rows[r].second) << "row " << r;

    const std::vector<std::pair<std::string, std::string>> clean = {{"\"C:\\a b.mp3\"", "C:\\a b.mp3"},
                                                                    {"C:\\x.mp3   ", "C:\\x.mp3"},
                                                                    {"\"C:\\x.mp3\"  ", "C:\\x.mp3"},
                                                                    {"\"C:\\x.mp3  ", "C:\\x.mp3"},
                                                                    {"C:\\x\"", "C:\\x\""},
                                                                    {"\"", ""},
                                                                    {"\"\"", ""}};
    for (const auto& [record, path] : clean)
        EXPECT_EQ(CleanQueuedPath(record), path) << record;
}

} // namespace
} // namespace lt
