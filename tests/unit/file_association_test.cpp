#include "controller/file_association.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace lt;
using namespace std::string_literals;

namespace {

using Values = std::map<std::string, std::string>; // "key|name" -> value

// An in-memory classes root. A locked one refuses key creation, as the machine-wide root does for a normal user; reads
// fall through to `under`, as the shell's merged view does; writes to keys never created are lost.
struct FakeRoot final : ClassesRoot {
    Values values;
    std::set<std::string> keys;
    bool locked = false;
    FakeRoot* under = nullptr;

    std::string Read(const std::string& key, const std::string& name) override
    {
        auto it = values.find(key + "|" + name);
        return it != values.end() ? it->second : under ? under->Read(key, name) : "Error";
    }
    KeyResult CreateKey(const std::string& key) override
    {
        for (std::size_t at = key.find('\\'); !locked && at != std::string::npos; at = key.find('\\', at + 1))
            keys.insert(key.substr(0, at));
        return locked ? KeyResult::Denied : (keys.insert(key), KeyResult::Created);
    }
    void SetText(const std::string& key, const std::string& name, std::string_view text) override
    {
        if (keys.count(key))
            values[key + "|" + name] = text;
    }
    void SetBinary(const std::string& k, const std::string& n, std::string_view b) override { SetText(k, n, b); }
};

const std::string Program = "C:\\Program Files\\Lumatrove\\lumatrove.exe";

Values Verb(const std::string& cls)
{
    return {{cls + "\\Shell|", "Lumatro"},
            {cls + "\\Shell\\Lumatro|EditFlags", "\1\0\0\0"s},
            {cls + "\\Shell\\Lumatro\\command|", "\"" + Program + "\" \"%1\""}};
}

Values Plus(Values a, const Values& b)
{
    return a.insert(b.begin(), b.end()), a;
}

// A class's description, flags and icon, as the program completes them.
Values Described(const std::string& cls)
{
    return {{cls + "|", "ﾋﾞｯﾄﾏｯﾌﾟ ｲﾒｰｼﾞ"}, {cls + "|EditFlags", "\0\0\0\0"s}, {cls + "\\DefaultIcon|", Program + ",4"}};
}

} // namespace

TEST(FileAssociation, ExistingClassesAndRefusedRoots)
{
    const Values ext = {{".bmp|", "Paint.Picture"}, {".bmp|Content Type", "image/x-other"}};
    const Values described = Plus(ext, {{"Paint.Picture|", "Theirs"}}), verb = Verb("Paint.Picture");
    const Values fresh = Plus({{".bmp|", "BMPFile"}, {".bmp|Content Type", "image/bmp"}}, Described("BMPFile"));
    struct Row {
        const char* what;
        Values before;
        bool locked;
        Values machine, user; // afterwards
    };
    const std::vector<Row> rows = {
        {"described class: only the verb", described, false, Plus(described, verb), {}},
        {"class without a description is completed", ext, false, Plus(Plus(ext, Described("Paint.Picture")), verb), {}},
        {"refused machine root: the user's classes", described, true, described, verb},
        {"empty class name: registered afresh", {{".bmp|", ""}}, false, Plus(fresh, Verb("BMPFile")), {}}};
    for (const Row& r : rows) {
        FakeRoot machine, user;
        machine.values = r.before;
        for (const auto& [at, v] : r.before)
            machine.keys.insert(at.substr(0, at.find('|')));
        machine.locked = r.locked;
        user.under = &machine;
        EXPECT_EQ(RegisterFileTypeAnywhere(machine, user, FileTypes()[0], Program), KeyResult::Created) << r.what;
        EXPECT_EQ(machine.values, r.machine) << r.what;
        EXPECT_EQ(user.values, r.user) << r.what;
    }
    FakeRoot locked, alsoLocked;
    locked.locked = alsoLocked.locked = true;
    EXPECT_EQ(RegisterFileTypeAnywhere(locked, alsoLocked, FileTypes()[0], Program), KeyResult::Denied);
}
