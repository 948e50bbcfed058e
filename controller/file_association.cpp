#include "controller/file_association.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace lt {

namespace {

constexpr const char* ReadError = "Error";
constexpr std::string_view ClassEditFlags{"\0\0\0\0", 4};
constexpr std::string_view VerbEditFlags{"\1\0\0\0", 4};

// A class the extension names but that has no description gets ours.
void FillClass(ClassesRoot& root, const std::string& cls, const FileType& type, const std::string& programPath)
{
    root.CreateKey(cls + "\\DefaultIcon");
    root.SetText(cls, "", type.Description);
    root.SetBinary(cls, "EditFlags", ClassEditFlags);
    root.SetText(cls + "\\DefaultIcon", "", programPath + "," + std::to_string(type.IconIndex));
}

// `key` itself or a key under it.
bool Within(const std::string& key, const std::string& outer)
{
    return key.size() >= outer.size() && key.compare(0, outer.size(), outer) == 0 &&
           (key.size() == outer.size() || key[outer.size()] == '\\');
}

// Passes everything on to the real root and, before the first change to a
// key or value that the journal does not cover yet, records what stood there.
class RecordingRoot final : public ClassesRoot {
public:
    RecordingRoot(ClassesRoot& inner, UndoJournal& journal) : inner_(inner), journal_(journal) {}

    std::string Read(const std::string& key, const std::string& name) override { return inner_.Read(key, name); }
    KeyResult CreateKey(const std::string& key) override
    {
        // The outermost key that is missing goes, with what is made under it.
        for (std::size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
            const std::string part = key.substr(0, end);
            if (!inner_.HasKey(part)) {
                if (!Covered(part))
                    journal_.push_back({UndoStep::Action::RemoveKey, part, {}, {}});
                break;
            }
            if (end == std::string::npos)
                break;
        }
        return inner_.CreateKey(key);
    }
    void SetText(const std::string& key, const std::string& name, std::string_view text) override
    {
        Remember(key, name);
        inner_.SetText(key, name, text);
    }
    void SetBinary(const std::string& key, const std::string& name, std::string_view bytes) override
    {
        Remember(key, name);
        inner_.SetBinary(key, name, bytes);
    }
    bool HasKey(const std::string& key) override { return inner_.HasKey(key); }
    std::optional<StoredValue> ReadStored(const std::string& key, const std::string& name) override
    {
        return inner_.ReadStored(key, name);
    }
    void PutStored(const std::string& key, const std::string& name, const StoredValue& value) override
    {
        Remember(key, name);
        inner_.PutStored(key, name, value);
    }
    void DeleteValue(const std::string& key, const std::string& name) override { inner_.DeleteValue(key, name); }
    void DeleteKey(const std::string& key) override { inner_.DeleteKey(key); }
    bool IsEmptyKey(const std::string& key) override { return inner_.IsEmptyKey(key); }

private:
    bool Covered(const std::string& key, const std::string* name = nullptr) const
    {
        return std::any_of(journal_.begin(), journal_.end(), [&](const UndoStep& s) {
            return s.What == UndoStep::Action::RemoveKey ? Within(key, s.Key)
                                                         : name && s.Key == key && s.Name == *name;
        });
    }
    void Remember(const std::string& key, const std::string& name)
    {
        if (!inner_.HasKey(key) || Covered(key, &name))
            return; // a write to a missing key is lost; nothing to put back
        if (auto old = inner_.ReadStored(key, name))
            journal_.push_back({UndoStep::Action::PutBack, key, name, std::move(*old)});
        else
            journal_.push_back({UndoStep::Action::RemoveValue, key, name, {}});
    }

    ClassesRoot& inner_;
    UndoJournal& journal_;
};

UndoJournal LoadJournal(ClassesRoot& root, const FileType& type)
{
    const auto stored = root.ReadStored(JournalKey, type.Extension);
    if (!stored)
        return {};
    return ParseJournal(stored->Bytes.substr(0, stored->Bytes.find('\0'))).value_or(UndoJournal{});
}

constexpr char Hex[] = "0123456789abcdef";

std::string ToHex(std::string_view bytes)
{
    std::string out;
    for (unsigned char b : bytes)
        out += {Hex[b >> 4], Hex[b & 15]};
    return out;
}

std::optional<std::string> FromHex(std::string_view text)
{
    if (text.size() % 2)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (ec != std::errc() || end != text.data() + i + 2)
            return std::nullopt;
        out += static_cast<char>(value);
    }
    return out;
}

// Splits at tabs.
std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab - at));
        if (tab == std::string_view::npos)
            return fields;
        at = tab + 1;
    }
}

KeyResult WriteRegistration(ClassesRoot& root, const FileType& type, const std::string& programPath)
{
    std::string cls = root.Read(type.Extension, "");
    // An extension whose class name is empty names no class: writing under
    // it would write at the root itself.
    if (cls == ReadError || cls.empty()) {
        cls = type.ClassName;
        root.CreateKey(type.Extension);
        root.SetText(type.Extension, "", cls);
        if (*type.ContentType)
            root.SetText(type.Extension, "Content Type", type.ContentType);
        FillClass(root, cls, type, programPath);
    } else if (root.Read(cls, "") == ReadError) {
        FillClass(root, cls, type, programPath);
    }

    const std::string verb = cls + "\\Shell\\" + VerbName;
    const KeyResult created = root.CreateKey(verb + "\\command");
    if (created != KeyResult::Created)
        return created;
    root.SetText(cls + "\\Shell", "", VerbName);
    root.SetBinary(verb, "EditFlags", VerbEditFlags);
    root.SetText(verb + "\\command", "", OpenCommand(programPath));
    return created;
}

} // namespace

std::string FormatJournal(const UndoJournal& journal)
{
    // One step a line: "K\tkey", "N\tkey\tname", "V\tkey\tname\tkind\thex bytes".
    std::string text;
    for (const UndoStep& s : journal) {
        switch (s.What) {
        case UndoStep::Action::RemoveKey:
            text += "K\t" + s.Key;
            break;
        case UndoStep::Action::RemoveValue:
            text += "N\t" + s.Key + "\t" + s.Name;
            break;
        case UndoStep::Action::PutBack:
            text += "V\t" + s.Key + "\t" + s.Name + "\t" + std::to_string(s.Old.Kind) + "\t" + ToHex(s.Old.Bytes);
            break;
        }
        text += '\n';
    }
    return text;
}

std::optional<UndoJournal> ParseJournal(std::string_view text)
{
    UndoJournal journal;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // cut short
        const auto f = Fields(text.substr(0, end));
        text.remove_prefix(end + 1);
        const std::string_view tag = f[0];
        if (tag == "K" && f.size() == 2 && !f[1].empty()) {
            journal.push_back({UndoStep::Action::RemoveKey, std::string(f[1]), {}, {}});
        } else if (tag == "N" && f.size() == 3 && !f[1].empty()) {
            journal.push_back({UndoStep::Action::RemoveValue, std::string(f[1]), std::string(f[2]), {}});
        } else if (tag == "V" && f.size() == 5 && !f[1].empty()) {
            std::uint32_t kind = 0;
            const auto [at, ec] = std::from_chars(f[3].data(), f[3].data() + f[3].size(), kind);
            auto bytes = FromHex(f[4]);
            if (ec != std::errc() || at != f[3].data() + f[3].size() || !bytes)
                return std::nullopt;
            journal.push_back({UndoStep::Action::PutBack, std::string(f[1]), std::string(f[2]), {kind, *bytes}});
        } else {
            return std::nullopt;
        }
    }
    return journal;
}

const std::array<FileType, FileTypeCount>& FileTypes()
{
    static const std::array<FileType, FileTypeCount> types = {{
        {"*.bmp", 56, 128, ".bmp", "BMPFile", "ﾋﾞｯﾄﾏｯﾌﾟ ｲﾒｰｼﾞ", "image/bmp", 4},
        {"*.jpg", 96, 128, ".jpg", "JPEGFile", "JPEG イメージ", "image/jpeg", 4},
        {"*.mid", 136, 128, ".mid", "MIDFile", "MIDIﾌｧｲﾙ", "audio/mid", 5},
        {"*.wav", 56, 144, ".wav", "WAVFile", "WAVE ｻｳﾝﾄﾞ", "audio/x-wav", 6},
        {"*.avi", 96, 144, ".avi", "AVIFile", "ビデオ クリップ", "video/avi", 3},
        {"*.ltl", 136, 144, ".ltl", "LumatroList", "Lumatrove専用ﾘｽﾄ", "", 1},
    }};
    return types;
}

std::string OpenCommand(const std::string& programPath)
{
    return "\"" + programPath + "\" \"%1\"";
}

KeyResult RegisterFileType(ClassesRoot& root, const FileType& type, const std::string& programPath)
{
    UndoJournal journal = LoadJournal(root, type);
    RecordingRoot recording(root, journal);
    const KeyResult result = WriteRegistration(recording, type, programPath);
    if (result == KeyResult::Created && root.CreateKey(JournalKey) == KeyResult::Created)
        root.SetText(JournalKey, type.Extension, FormatJournal(journal));
    return result;
}

bool UnregisterFileType(ClassesRoot& root, const FileType& type)
{
    if (!root.ReadStored(JournalKey, type.Extension))
        return false;
    const UndoJournal journal = LoadJournal(root, type);
    for (auto step = journal.rbegin(); step != journal.rend(); ++step) {
        switch (step->What) {
        case UndoStep::Action::RemoveKey:
            root.DeleteKey(step->Key);
            break;
        case UndoStep::Action::RemoveValue:
            root.DeleteValue(step->Key, step->Name);
            break;
        case UndoStep::Action::PutBack:
            if (root.HasKey(step->Key))
                root.PutStored(step->Key, step->Name, step->Old);
            break;
        }
    }
    root.DeleteValue(JournalKey, type.Extension);
    for (const char* key : {JournalKey, "Lumatrove"})
        if (root.HasKey(key) && root.IsEmptyKey(key))
            root.DeleteKey(key);
    return true;
}

bool RegistrablePath(std::string_view ansiPath)
{
    constexpr std::size_t MaxPath = 260;
    return !ansiPath.empty() && ansiPath.size() < MaxPath && ansiPath.find('?') == std::string_view::npos;
}


KeyResult RegisterFileTypeAnywhere(ClassesRoot& machine, ClassesRoot& user, const FileType& type,
                                   const std::string& programPath)
{
    const KeyResult result = RegisterFileType(machine, type, programPath);
    if (result != KeyResult::Denied)
        return result;
    return RegisterFileType(user, type, programPath);
}

std::string AssociationMessage(const FileType& type, bool succeeded)
{
    return std::string(type.Description) + (succeeded ? "の関連付けに成功しました｡" : "の関連付けに失敗しました｡");
}

std::string UnusablePathMessage(std::string_view ansiPath)
{
    return "このﾌﾟﾛｸﾞﾗﾑの場所は関連付けに使えません｡\n"
           "ﾊﾟｽが長すぎるか､ANSIの文字で書けない文字を含んでいます｡\n\n" +
           std::string(ansiPath);
}

std::string UnregisterMessage(bool anything)
{
    return anything ? "関連付けを解除しました｡" : "解除する関連付けはありません｡";
}

} // namespace lt
