#include "controller/file_association.h"

#include <gtest/gtest.h>

#include <algorithm>
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

    bool HasKey(const std::string& key) override { return keys.count(key) > 0; }
    std::optional<StoredValue> ReadStored(const std::string& key, const std::string& name) override
    {
        auto it = values.find(key + "|" + name);
        return it != values.end() ? std::optional<StoredValue>({1, it->second}) : std::nullopt;
    }
    void PutStored(const std::string& key, const std::string& name, const StoredValue& v) override
    {
        SetText(key, name, v.Bytes);
    }
    void DeleteValue(const std::string& key, const std::string& name) override { values.erase(key + "|" + name); }
    void DeleteKey(const std::string& key) override
    {
        std::erase_if(keys, [&](const std::string& k) { return Under(k, key); });
        std::erase_if(values, [&](const auto& v) { return Under(v.first.substr(0, v.first.find('|')), key); });
    }
    bool IsEmptyKey(const std::string& key) override
    {
        return std::none_of(keys.begin(), keys.end(), [&](const std::string& k) { return k != key && Under(k, key); }) &&
               std::none_of(values.begin(), values.end(),
                            [&](const auto& v) { return v.first.substr(0, v.first.find('|')) == key; });
    }
    static bool Under(const std::string& k, const std::string& key)
    {
        return k == key || k.rfind(key + "\\", 0) == 0;
    }
    // Keys and values, the program's journal set apart.
    std::pair<std::set<std::string>, Values> Tree() const
    {
        std::pair<std::set<std::string>, Values> tree{keys, values};
        std::erase_if(tree.first, [](const std::string& k) { return Under(k, "Lumatrove"); });
        std::erase_if(tree.second, [](const auto& v) { return Under(v.first.substr(0, v.first.find('|')), "Lumatrove"); });
        return tree;
    }
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
    const Values ownVerb = Plus(described, {{"Paint.Picture\\Shell|", "open"}, {"Paint.Picture\\Shell\\open\\command|", "x %1"}});
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
        {"empty class name: registered afresh", {{".bmp|", ""}}, false, Plus(fresh, Verb("BMPFile")), {}},
        {"unknown extension: a new class", {}, false, Plus(fresh, Verb("BMPFile")), {}},
        {"the class's own default verb is set aside", ownVerb, false, Plus(verb, ownVerb), {}}};
    for (const Row& r : rows) {
        FakeRoot machine, user;
        machine.values = r.before;
        for (const auto& [at, v] : r.before)
            machine.keys.insert(at.substr(0, at.find('|')));
        machine.locked = r.locked;
        user.under = &machine;
        const auto machineBefore = machine.Tree(), userBefore = user.Tree();
        EXPECT_EQ(RegisterFileTypeAnywhere(machine, user, FileTypes()[0], Program), KeyResult::Created) << r.what;
        EXPECT_EQ(machine.Tree().second, r.machine) << r.what;
        EXPECT_EQ(user.Tree().second, r.user) << r.what;
        // Registering again keeps what stood there first; unregistering puts back exactly that.
        RegisterFileTypeAnywhere(machine, user, FileTypes()[0], Program);
        EXPECT_EQ(UnregisterFileType(machine, FileTypes()[0]), !r.locked) << r.what;
        EXPECT_EQ(UnregisterFileType(user, FileTypes()[0]), r.locked) << r.what;
        EXPECT_EQ(std::tie(machine.keys, machine.values), std::tie(machineBefore.first, machineBefore.second)) << r.what;
        EXPECT_EQ(std::tie(user.keys, user.values), std::tie(userBefore.first, userBefore.second)) << r.what;
        EXPECT_FALSE(UnregisterFileType(machine, FileTypes()[0])) << r.what;
    }
    FakeRoot locked, alsoLocked;
    locked.locked = alsoLocked.locked = true;
    EXPECT_EQ(RegisterFileTypeAnywhere(locked, alsoLocked, FileTypes()[0], Program), KeyResult::Denied);
}

TEST(FileAssociation, JournalTextAndProgramPaths)
{
    const UndoJournal journal = {{UndoStep::Action::RemoveKey, "BMPFile", {}, {}},
                                 {UndoStep::Action::RemoveValue, ".bmp", "Content Type", {}},
                                 {UndoStep::Action::PutBack, "ソフト\\Shell", "", {3, "\0\1\t\n\xff"s}}};
    EXPECT_EQ(ParseJournal(FormatJournal(journal)), journal);
    for (const char* bad : {"K\tBMPFile", "X\ta\n", "V\tk\tn\t3\t0g\n", "V\tk\tn\tthree\t00\n", "K\t\n"})
        EXPECT_EQ(ParseJournal(bad), std::nullopt) << bad;

    // A journal that cannot be read puts nothing back, and goes.
    FakeRoot root;
    root.keys = {"Lumatrove", JournalKey, "BMPFile"};
    root.values = {{std::string(JournalKey) + "|.bmp", "K\tBMPFile"}};
    EXPECT_TRUE(UnregisterFileType(root, FileTypes()[0]));
    EXPECT_EQ(std::tie(root.keys, root.values), std::make_tuple(std::set<std::string>{"BMPFile"}, Values{}));

    const std::string tooLong(260, 'a');
    EXPECT_EQ(std::make_tuple(RegistrablePath(Program), RegistrablePath(""), RegistrablePath(tooLong),
                              RegistrablePath(tooLong.substr(1)), RegistrablePath("C:\\caf?\\lumatrove.exe")),
              std::make_tuple(true, false, false, true, false));
}
