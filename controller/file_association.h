// Registering the program as the way to open a file type: the six types the
// settings panel offers and the registration steps, over a classes root that
// the caller provides (the real registry, or a table in tests).
#pragma once
#include <array>
#include <string>
#include <string_view>

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
};

inline constexpr const char* VerbName = "Lumatro";

// The command the shell runs: program and file both quoted, so that blanks
// in either cannot split them.
std::string OpenCommand(const std::string& programPath);

// Registers the type; the result is that of creating the verb's command key,
// which alone decides between success and failure.
KeyResult RegisterFileType(ClassesRoot& root, const FileType& type, const std::string& programPath);

// Registers machine-wide; where that is refused, for the current user, whose
// classes the shell lays over the machine's.
KeyResult RegisterFileTypeAnywhere(ClassesRoot& machine, ClassesRoot& user, const FileType& type,
                                   const std::string& programPath);

// "<description>の関連付けに成功しました｡" or "...失敗しました｡"
std::string AssociationMessage(const FileType& type, bool succeeded);

} // namespace lt
