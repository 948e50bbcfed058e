#include "controller/register_file_type.h"

#include <string>
#include <utility>

#include "controller/file_association.h"
#include "core/reg_module.h"
#include "core/app_paths.h"
#include "core/app_identity.h"

namespace lt {

namespace {

constexpr const char* UserClasses = "Software\\Classes\\";

// Writes under `root` + `prefix`. Reads take the user's own classes first,
// then the merged view, the way the shell looks a type up.
class RegistryClasses final : public ClassesRoot {
public:
    RegistryClasses(HKEY root, std::string prefix) : root_(root), prefix_(std::move(prefix)) {}

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

private:
    HKEY root_;
    std::string prefix_;
};

} // namespace

void ComExt(HWND owner, int index)
{
    if (index < 0 || index >= FileTypeCount)
        return;
    const FileType& type = FileTypes()[static_cast<std::size_t>(index)];
    RegistryClasses machine(HKEY_CLASSES_ROOT, "");
    RegistryClasses user(HKEY_CURRENT_USER, UserClasses);
    const KeyResult result = RegisterFileTypeAnywhere(machine, user, type, Paths().ProgramFile);
    const std::string text = AssociationMessage(type, result == KeyResult::Created);
    MessageBoxA(owner, text.c_str(), AppTitle, MB_OK);
}

} // namespace lt
