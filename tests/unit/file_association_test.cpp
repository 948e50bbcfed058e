#include "controller/file_association.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace lt {
namespace {

// An in-memory classes root. Keys listed in `locked` refuse creation the way
// a machine-wide root refuses a normal user; values under a key that was
// never created are dropped, as the registry drops writes to missing keys.
struct FakeRoot final : ClassesRoot {
    std::set<std::string> keys;
    std::map<std::pair<std::string, std::string>, std::string> values;
    bool locked = false;
    const FakeRoot* under = nullptr; // read through to this one, as the merged view does

    std::string Read(const std::string& key, const std::string& name) override
    {
        auto it = values.find({key, name});
        if (it != values.end())
            return it->second;
        return under ? const_cast<FakeRoot*>(under)->Read(key, name) : "Error";
    }
    KeyResult CreateKey(const std::string& key) override
    {
        if (locked)
            return KeyResult::Denied;
        for (std::size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1))
            keys.insert(key.substr(0, at));
        keys.insert(key);
        return KeyResult::Created;
    }
    void SetText(const std::string& key, const std::string& name, std::string_view text) override
    {
        if (keys.count(key))
            values[{key, name}] = std::string(text);
    }
    void SetBinary(const std::string& key, const std::string& name, std::string_view bytes) override
    {
        SetText(key, name, bytes);
    }
    std::string At(const std::string& key, const std::string& name) const
    {
        auto it = values.find({key, name});
        return it == values.end() ? "(none)" : it->second;
    }
    void Put(const std::string& key, const std::string& name, const std::string& v)
    {
        CreateKey(key);
        values[{key, name}] = v;
    }
};

const std::string Program = "C:\\Program Files\\Lumatrove\\lumatrove.exe";
const std::string Command = "\"C:\\Program Files\\Lumatrove\\lumatrove.exe\" \"%1\"";

std::map<std::pair<std::string, std::string>, std::string> VerbValues(const std::string& cls)
{
    return {
        {{cls + "\\Shell", ""}, "Lumatro"},
        {{cls + "\\Shell\\Lumatro", "EditFlags"}, "\1\0\0\0"s},
        {{cls + "\\Shell\\Lumatro\\command", ""}, Command},
    };
}

TEST(FileAssociation, UnregisteredTypesGetClassIconAndVerb)
{
    for (std::size_t i = 0; i < FileTypes().size(); ++i) {
        const FileType& t = FileTypes()[i];
        SCOPED_TRACE(t.Extension);
        FakeRoot root;
        EXPECT_EQ(RegisterFileType(root, t, Program), KeyResult::Created);
        auto want = VerbValues(t.ClassName);
        want[{t.Extension, ""}] = t.ClassName;
        if (*t.ContentType)
            want[{t.Extension, "Content Type"}] = t.ContentType;
        want[{t.ClassName, ""}] = t.Description;
        want[{t.ClassName, "EditFlags"}] = "\0\0\0\0"s;
        want[{t.ClassName + "\\DefaultIcon"s, ""}] = Program + "," + std::to_string(t.IconIndex);
        EXPECT_EQ(root.values, want);
    }
}

TEST(FileAssociation, ExistingClassesKeepWhatTheyHave)
{
    const FileType& bmp = FileTypes()[0];
    struct Row {
        const char* what;
        std::string extensionClass; // "" here: the extension names an empty class
        bool classDescribed;
        std::string expectedClass;
        bool classFilled;
        std::string contentType;
    };
    const std::vector<Row> rows = {
        {"class with a description", "Paint.Picture", true, "Paint.Picture", false, "image/x-other"},
        {"class without a description", "Paint.Picture", false, "Paint.Picture", true, "image/x-other"},
        {"extension naming an empty class", "", false, "BMPFile", true, "image/bmp"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FakeRoot root;
        root.Put(".bmp", "", r.extensionClass);
        root.Put(".bmp", "Content Type", "image/x-other");
        if (r.classDescribed) {
            root.Put(r.extensionClass, "", "Their description");
            root.Put(r.extensionClass + "\\DefaultIcon", "", "other.exe,0");
        }
        const auto before = root.values;
        EXPECT_EQ(RegisterFileType(root, bmp, Program), KeyResult::Created);
        for (const auto& [at, v] : VerbValues(r.expectedClass))
            EXPECT_EQ(root.At(at.first, at.second), v) << at.first;
        EXPECT_EQ(root.At(".bmp", ""), r.expectedClass);
        EXPECT_EQ(root.At(".bmp", "Content Type"), r.contentType);
        if (r.classDescribed) {
            EXPECT_EQ(root.At(r.extensionClass, ""), "Their description");
            EXPECT_EQ(root.At(r.extensionClass + "\\DefaultIcon", ""), "other.exe,0");
            EXPECT_EQ(root.values.size(), before.size() + 3);
        }
        if (r.classFilled) {
            EXPECT_EQ(root.At(r.expectedClass, ""), bmp.Description);
            EXPECT_EQ(root.At(r.expectedClass + "\\DefaultIcon", ""), Program + ",4");
        }
    }
}

TEST(FileAssociation, RefusedMachineRootFallsBackToTheUser)
{
    const FileType& jpg = FileTypes()[1];
    FakeRoot machine;
    machine.Put(".jpg", "", "jpegfile");
    machine.Put("jpegfile", "", "JPEG Image");
    machine.locked = true;
    FakeRoot user;
    user.under = &machine;
    EXPECT_EQ(RegisterFileTypeAnywhere(machine, user, jpg, Program), KeyResult::Created);
    EXPECT_EQ(user.values, VerbValues("jpegfile"));

    user.locked = true;
    EXPECT_EQ(RegisterFileTypeAnywhere(machine, user, jpg, Program), KeyResult::Denied);
}

} // namespace
} // namespace lt
