#include "core/list_file_format.h"

#include <gtest/gtest.h>

using namespace lt;
using Fields = std::vector<std::string>;

static Fields AllFields(std::string_view text)
{
    Fields out;
    for (FieldReader reader(text); !reader.AtEnd();)
        out.push_back(reader.Next());
    return out;
}

TEST(ListFileFormat, FieldGrammar)
{
    // CR, LF and CR LF each end one field; blanks before a field go, inside and
    // after it stay; after a closing quote: dropped; no closing quote: to the
    // end; a quote inside is plain text; empty fields come back empty; a list
    // written before quoting existed splits a comma path in two.
    const std::vector<std::pair<std::string, Fields>> rows = {
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
        EXPECT_EQ(AllFields(text), fields) << text;
    EXPECT_EQ(FieldReader("").Next(), "") << "reading past the end gives empty fields";
    EXPECT_TRUE(IsListHeader("LumatroveList Ver5.0") && IsListHeader("lumatrovelist"));
    EXPECT_FALSE(IsListHeader("LumatroveLis") || IsListHeader(" LumatroveList") ||
                 IsListHeader("\x82\x6bumatroveList"));
}

TEST(ListFileFormat, ImageReadsBackWholeAndWhatAFieldCanName)
{
    EXPECT_EQ(ListFileImage(FileTable{}), "LumatroveList Ver5.0\r\n");
    const Fields paths = {"C:\\a.mid", "C:\\x,y.mid", " C:\\lead.mid", "C:\\q\"in.mid", "C:\\,"};
    FileTable t;
    for (const auto& p : paths)
        t.Append(p, FileKind::Midi);
    const std::string image = ListFileImage(t);
    EXPECT_EQ(image, "LumatroveList Ver5.0\r\nC:\\a.mid\r\n\"C:\\x,y.mid\"\r\n\" C:\\lead.mid\"\r\n"
                     "C:\\q\"in.mid\r\n\"C:\\,\"\r\n");
    Fields expected{ListHeaderLine()};
    expected.insert(expected.end(), paths.begin(), paths.end());
    EXPECT_EQ(AllFields(image), expected);

    EXPECT_EQ(M3uCandidate("C:\\m\\list.m3u", "a.mid"), "C:\\m\\a.mid");
    EXPECT_EQ(M3uCandidate("C:\\m\\list.m3u", "C:\\a.mid"), "C:\\m\\C:\\a.mid") << "absolute: names nothing";
    EXPECT_EQ(M3uCandidate("list.m3u", "a.mid"), "a.mid");
    EXPECT_EQ(M3uCandidate("C:\\\x95\x5c.m3u", "a.mid"), "C:\\a.mid"); // C:\表.m3u
    EXPECT_TRUE(CanNamePath("C:\\\x95\x5c\\b.mid") && CanNamePath(std::string(MaxPathBytes, 'a')));
    EXPECT_FALSE(CanNamePath("") || CanNamePath(std::string("C:\\a.mid\0junk", 13)) ||
                 CanNamePath(std::string(MaxPathBytes + 1, 'a')));
}
