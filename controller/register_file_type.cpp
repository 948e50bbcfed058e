#include "controller/register_file_type.h"

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <utility>

#include "controller/file_association.h"
#include "core/reg_module.h"
#include "core/app_identity.h"

namespace lt {

namespace {

constexpr const char* UserClasses = "Software\\Classes\\";

// Writes under `root` + `prefix`. Reads take the user's own classes first,
// then the merged view, the way the shell looks a type up. What is put back
// is read and changed in `ownRoot` + `ownPrefix`: the machine's own classes
// for the merged root, the same place for the user's.
class RegistryClasses final : public ClassesRoot {
public:
    RegistryClasses(HKEY root, std::string prefix, HKEY ownRoot, std::string ownPrefix)
        : root_(root), prefix_(std::move(prefix)), ownRoot_(ownRoot), ownPrefix_(std::move(ownPrefix))
    {
    }

    std::string Read(const std::string& key, const std::string& name) override
    {
        std::string own = GetRegValue(HKEY_CURRENT_USER, UserClasses + key, name);
        if (own != "Error")
            return own;
        return GetRegValue(HKEY_CLASSES_ROOT, key, name);
    }
    KeyResult CreateKey(const std::string& key) override
    {
        switch (CreateRegKey(root_, prefix_ + key)) {
        case ERROR_SUCCESS:
            return KeyResult::Created;
        case ERROR_ACCESS_DENIED:
            return KeyResult::Denied;
        default:
            return KeyResult::Failed;
        }
    }
    void SetText(const std::string& key, const std::string& name, std::string_view text) override
    {
        SetRegValue(root_, prefix_ + key, name, text, REG_SZ);
    }
    void SetBinary(const std::string& key, const std::string& name, std::string_view bytes) override
    {
        SetRegValue(root_, prefix_ + key, name, bytes, REG_BINARY);
    }
    bool HasKey(const std::string& key) override { return RegKeyExists(ownRoot_, ownPrefix_ + key); }
    std::optional<StoredValue> ReadStored(const std::string& key, const std::string& name) override
    {
        auto value = ReadRegValue(ownRoot_, ownPrefix_ + key, name);
        if (!value)
            return std::nullopt;
        return StoredValue{value->Kind, std::move(value->Bytes)};
    }
    void PutStored(const std::string& key, const std::string& name, const StoredValue& value) override
    {
        PutRegValue(ownRoot_, ownPrefix_ + key, name, {value.Kind, value.Bytes});
    }
    void DeleteValue(const std::string& key, const std::string& name) override
    {
        DeleteRegValue(ownRoot_, ownPrefix_ + key, name);
    }
    void DeleteKey(const std::string& key) override { DeleteRegTree(ownRoot_, ownPrefix_ + key); }
    bool IsEmptyKey(const std::string& key) override { return RegKeyIsEmpty(ownRoot_, ownPrefix_ + key); }

private:
    HKEY root_;
    std::string prefix_;
    HKEY ownRoot_;
    std::string ownPrefix_;
};

RegistryClasses MachineClasses()
{
    return {HKEY_CLASSES_ROOT, "", HKEY_LOCAL_MACHINE, UserClasses};
}
RegistryClasses UserClassesRoot()
{
    return {HKEY_CURRENT_USER, UserClasses, HKEY_CURRENT_USER, UserClasses};
}

// The running program's path as the shell will be given it, in the ANSI
// code page, with "?" for every character that page cannot write (no
// look-alike substitutes: a path spelt with them names no file). Not cut at
// MAX_PATH, so that a path too long shows as such.
std::string ProgramPathForShell()
{
    std::wstring wide(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (n == 0 || n >= wide.size())
        return {};
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(n), nullptr,
                                           0, "?", nullptr);
    std::string ansi(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(n), ansi.data(), length, "?",
                        nullptr);
    return ansi;
}

void TellShell()
{
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

} // namespace

void ComExt(HWND owner, int index)
{
    if (index < 0 || index >= FileTypeCount)
        return;
    const FileType& type = FileTypes()[static_cast<std::size_t>(index)];
    const std::string program = ProgramPathForShell();
    if (!RegistrablePath(program)) {
        MessageBoxA(owner, UnusablePathMessage(program).c_str(), AppTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RegistryClasses machine = MachineClasses();
    RegistryClasses user = UserClassesRoot();
    const KeyResult result = RegisterFileTypeAnywhere(machine, user, type, program);
    if (result == KeyResult::Created)
        TellShell();
    const std::string text = AssociationMessage(type, result == KeyResult::Created);
    MessageBoxA(owner, text.c_str(), AppTitle, MB_OK);
}

void UnregisterFileTypes(HWND owner)
{
    RegistryClasses machine = MachineClasses();
    RegistryClasses user = UserClassesRoot();
    bool anything = false;
    for (const FileType& type : FileTypes()) {
        anything |= UnregisterFileType(user, type);
        anything |= UnregisterFileType(machine, type);
    }
    if (anything)
        TellShell();
    MessageBoxA(owner, UnregisterMessage(anything).c_str(), AppTitle, MB_OK);
}

} // namespace lt
