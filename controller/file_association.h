// Registering the program as the way to open a file type: the six types the
// settings panel offers and the registration steps, over a classes root that
// the caller provides (the real registry, or a table in tests).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

struct FileType {
    const char* Caption;     // on the panel's button
    int X, Y;                // the button's place on the panel
    const char* Extension;   // ".bmp"
    const char* ClassName;   // created when the extension has no class yet
    const char* Description; // of a created class; also names it in messages
    const char* ContentType; // empty: none written
    int IconIndex;           // among the program's icon groups
};

inline constexpr int FileTypeCount = 6;
const std::array<FileType, FileTypeCount>& FileTypes();

// What a key creation came to.
enum class KeyResult { Created, Denied, Failed };

// A value as the registry keeps it: its kind (1 text, 3 binary, ...) and bytes.
struct StoredValue {
    std::uint32_t Kind = 0;
    std::string Bytes;
    bool operator==(const StoredValue&) const = default;
};

// The classes root as the registration sees it. Reads see the merged view
// (machine and user); writes go where this root writes.
class ClassesRoot {
public:
    virtual ~ClassesRoot() = default;
    // The value's text cut at its first NUL, or "Error" when it cannot be read.
    virtual std::string Read(const std::string& key, const std::string& name) = 0;
    virtual KeyResult CreateKey(const std::string& key) = 0;
    virtual void SetText(const std::string& key, const std::string& name, std::string_view text) = 0;
    virtual void SetBinary(const std::string& key, const std::string& name, std::string_view bytes) = 0;

    // This root's own keys and values, for putting back what stood there.
    virtual bool HasKey(const std::string& key) = 0;
    virtual std::optional<StoredValue> ReadStored(const std::string& key, const std::string& name) = 0;
    virtual void PutStored(const std::string& key, const std::string& name, const StoredValue& value) = 0;
    virtual void DeleteValue(const std::string& key, const std::string& name) = 0;
    // The key with everything under it.
    virtual void DeleteKey(const std::string& key) = 0;
    // True when the key holds neither values nor keys.
    virtual bool IsEmptyKey(const std::string& key) = 0;
};

// One step that puts back what a registration changed.
struct UndoStep {
    enum class Action { RemoveKey, RemoveValue, PutBack };
    Action What = Action::RemoveKey;
    std::string Key, Name;
    StoredValue Old; // PutBack: the value that stood there
    bool operator==(const UndoStep&) const = default;
};
using UndoJournal = std::vector<UndoStep>;

// Where each root keeps its journals: one text value per extension.
inline constexpr const char* JournalKey = "Lumatrove\\Associations";

// The journal as the text stored for it, and back; nullopt for text that is
// not a journal (then nothing is put back).
std::string FormatJournal(const UndoJournal& journal);
std::optional<UndoJournal> ParseJournal(std::string_view text);

inline constexpr const char* VerbName = "Lumatro";

// The command the shell runs: program and file both quoted, so that blanks
// in either cannot split them.
std::string OpenCommand(const std::string& programPath);

// Registers the type; the result is that of creating the verb's command key,
// which alone decides between success and failure. What stood where it
// writes is kept first in the root's journal for the extension (only what no
// earlier registration had kept), so that UnregisterFileType can put it back.
KeyResult RegisterFileType(ClassesRoot& root, const FileType& type, const std::string& programPath);

// Registers machine-wide; where that is refused, for the current user, whose
// classes the shell lays over the machine's.
KeyResult RegisterFileTypeAnywhere(ClassesRoot& machine, ClassesRoot& user, const FileType& type,
                                   const std::string& programPath);

// Puts back what the registrations of the type in this root changed, as
// their journal recorded it, and drops the journal. False when the root has
// no journal for the type.
bool UnregisterFileType(ClassesRoot& root, const FileType& type);

// A program path the shell can be given: not empty, shorter than MAX_PATH
// and representable in the ANSI code page (the ANSI form holds no '?').
bool RegistrablePath(std::string_view ansiPath);

// "<description>の関連付けに成功しました｡" or "...失敗しました｡"
std::string AssociationMessage(const FileType& type, bool succeeded);
// The box for a path that RegistrablePath refuses.
std::string UnusablePathMessage(std::string_view ansiPath);
// The box after "解除": whether anything was put back.
std::string UnregisterMessage(bool anything);

} // namespace lt
