#include <gtest/gtest.h>

#include "core/command_queue_format.h"
#include "core/list_file_format.h"

using namespace lt;
using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

TEST(CommandQueueFormat, CommandLineToPieces)
{
    const Strings lines = {"\"C:\\a b\\x.exe\" C:\\song.mp3", "\"C:\\a b\\x.exe\"  \t/S",
                           "C:\\x.exe\t \"C:\\my file.bmp\" ", "\"C:\\a b\\x.exe\" ", "\"C:\\unclosed b.exe /S"};
    const Strings rests = {"C:\\song.mp3", "/S", "\"C:\\my file.bmp\" ", "", ""};
    for (std::size_t r = 0; r < lines.size(); ++r)
        EXPECT_EQ(ArgumentsOf(lines[r]), rests[r]) << lines[r];
    EXPECT_EQ(ArgumentsOf("x.exe " + std::string(30005, 'a')), std::string(30000, 'a'));
    const std::string a = "\x82\xa0", kept = std::string(29999, 'a') + a; // あ counts once, never split
    EXPECT_EQ(ArgumentsOf("x.exe " + kept + a), kept);

    EXPECT_EQ(SplitPieces("a\r\nb\r\nc"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(SplitPieces("\r\na\r\n"), (Strings{"", "a"}));
    EXPECT_EQ(SplitPieces("a\nb\rc"), Strings{"a\nb\rc"}) << "a lone CR or LF is part of the path";
}

TEST(CommandQueueFormat, AppendAndParse)
{
    Bytes image;
    const std::string japanese = "C:\\\x89\xb9\x8a\x79.mid"; // C:\音楽.mid
    ASSERT_TRUE(AppendRecord(image, "abc") && AppendRecord(image, japanese) && AppendRecord(image, ""));
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 8), (Bytes{3, 0, 3, 0, 'a', 'b', 'c', 11})) << "length in bytes";
    EXPECT_EQ(ParseQueue(image), (Strings{"abc", japanese, ""}));
    EXPECT_EQ(std::make_tuple(EndOfRecords(image).Count, EndOfRecords(image).Offset),
              std::make_tuple(3u, image.size()));

    // What follows the last whole record (a write cut short) is replaced; a file too short for its count starts afresh.
    Bytes cut{1, 0, 1, 0, 'a', 9, 0, 'h', 'a'}, stub{7};
    ASSERT_TRUE(AppendRecord(cut, "b") && AppendRecord(stub, "x"));
    EXPECT_EQ(cut, (Bytes{2, 0, 1, 0, 'a', 1, 0, 'b'}));
    EXPECT_EQ(stub, (Bytes{1, 0, 1, 0, 'x'}));

    Bytes full(2 + 2 * 32767, 0), big; // 32767 empty records
    full[0] = 0xFF, full[1] = 0x7F;
    const Bytes before = full;
    EXPECT_FALSE(AppendRecord(full, "x") || AppendRecord(big, std::string(65536, 'a')));
    EXPECT_EQ(full, before);
    EXPECT_TRUE(AppendRecord(big, std::string(65535, 'a')));
    EXPECT_EQ(ParseQueue(big).at(0).size(), 65535u);

    // Damaged images: count 0, count beyond the records, negative count, a
    // record cut short, half a length field, a length past the end.
    const std::vector<std::pair<Bytes, Strings>> damaged = {{{1}, {}},
                                                            {{0, 0, 1, 0, 'a'}, {}},
                                                            {{5, 0, 1, 0, 'a'}, {"a"}},
                                                            {{0xFF, 0xFF, 1, 0, 'a', 1, 0, 'b'}, {"a", "b"}},
                                                            {{2, 0, 1, 0, 'a', 3, 0, 'b'}, {"a"}},
                                                            {{2, 0, 1, 0, 'a', 9}, {"a"}},
                                                            {{1, 0, 0xFF, 0xFF, 'a'}, {}}};
    for (const auto& [bytes, records] : damaged)
        EXPECT_EQ(ParseQueue(bytes), records) << bytes.size();
}

TEST(CommandQueueFormat, CleanQueuedPath)
{
    const Strings records = {
        "\"C:\\a b.mp3\"", "C:\\x.mp3   ", "\"C:\\x.mp3\"  ", "\"C:\\x.mp3  ", "C:\\x\"", "\"", "\"\""};
    const Strings paths = {"C:\\a b.mp3", "C:\\x.mp3", "C:\\x.mp3", "C:\\x.mp3", "C:\\x\"", "", ""};
    for (std::size_t r = 0; r < records.size(); ++r)
        EXPECT_EQ(CleanQueuedPath(records[r]), paths[r]) << records[r];
}

static Strings AllStrings(std::string_view text)
{
    Strings out;
    for (FieldReader reader(text); !reader.AtEnd();)
        out.push_back(reader.Next());
    return out;
}

TEST(ListFileFormat, FieldGrammar)
{
    // CR, LF and CR LF each end one field; blanks before a field go, inside and after it stay; after a closing quote:
    // dropped; no closing quote: to the end; a quote inside is plain text; empty fields come back empty; a list written
    // before quoting existed splits a comma path in two.
    const std::vector<std::pair<std::string, Strings>> rows = {
        {"", {}},
        {"a,b\r\nc", {"a", "b", "c"}},
        {"a\rb\nc\r\n", {"a", "b", "c"}},
        {"  a, \tb", {"a", "b"}},
        {"a b ,c", {"a b ", "c"}},
        {"\"x,y\"z,w", {"x,y", "w"}},
        {"\"open", {"open"}},
        {"\"two\r\nlines\",x", {"two\r\nlines", "x"}},
        {"ab\"c,d", {"ab\"c", "d"}},
        {",,", {"", ""}},
        {"LumatroveList Ver5.0\r\nC:\\x,y.mid\r\n", {"LumatroveList Ver5.0", "C:\\x", "y.mid"}}};
    for (const auto& [text, fields] : rows)
        EXPECT_EQ(AllStrings(text), fields) << text;
    EXPECT_EQ(FieldReader("").Next(), "") << "reading past the end gives empty fields";
    EXPECT_TRUE(IsListHeader("LumatroveList Ver5.0") && IsListHeader("lumatrovelist"));
    EXPECT_FALSE(IsListHeader("LumatroveLis") || IsListHeader(" LumatroveList") ||
                 IsListHeader("\x82\x6bumatroveList"));
}

TEST(ListFileFormat, ImageReadsBackWholeAndWhatAFieldCanName)
{
    EXPECT_EQ(ListFileImage(FileTable{}), "LumatroveList Ver5.0\r\n");
    const Strings paths = {"C:\\a.mid", "C:\\x,y.mid", " C:\\lead.mid", "C:\\q\"in.mid", "C:\\,"};
    FileTable t;
    for (const auto& p : paths)
        t.Append(p, FileKind::Midi);
    const std::string image = ListFileImage(t);
    EXPECT_EQ(image, "LumatroveList Ver5.0\r\nC:\\a.mid\r\n\"C:\\x,y.mid\"\r\n\" C:\\lead.mid\"\r\n"
                     "C:\\q\"in.mid\r\n\"C:\\,\"\r\n");
    Strings expected{ListHeaderLine()};
    expected.insert(expected.end(), paths.begin(), paths.end());
    EXPECT_EQ(AllStrings(image), expected);

    EXPECT_EQ(M3uCandidate("C:\\m\\list.m3u", "a.mid"), "C:\\m\\a.mid");
    EXPECT_EQ(M3uCandidate("C:\\m\\list.m3u", "C:\\a.mid"), "C:\\m\\C:\\a.mid") << "absolute: names nothing";
    EXPECT_EQ(M3uCandidate("list.m3u", "a.mid"), "a.mid");
    EXPECT_EQ(M3uCandidate("C:\\\x95\x5c.m3u", "a.mid"), "C:\\a.mid"); // C:\表.m3u
    EXPECT_TRUE(CanNamePath("C:\\\x95\x5c\\b.mid") && CanNamePath(std::string(MaxPathBytes, 'a')));
    EXPECT_FALSE(CanNamePath("") || CanNamePath(std::string("C:\\a.mid\0junk", 13)) ||
                 CanNamePath(std::string(MaxPathBytes + 1, 'a')));
}
