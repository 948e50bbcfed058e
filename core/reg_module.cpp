#include "core/reg_module.h"

#include <cstring>
#include <vector>

namespace lt {

namespace {

constexpr REGSAM KeyAccess = 0x3F; // KEY_ALL_ACCESS without the standard rights

class RegKey {
public:
    RegKey(HKEY root, const std::string& subKey, REGSAM access)
    {
        if (RegOpenKeyExA(root, subKey.c_str(), 0, access, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

bool SetRegBytes(HKEY root, const std::string& subKey, const std::string& name, DWORD kind, const BYTE* data,
                 DWORD size)
{
    RegKey key(root, subKey, KeyAccess);
    if (!key.get())
        return false;
    return RegSetValueExA(key.get(), name.c_str(), 0, kind, data, size) == ERROR_SUCCESS;
}

} // namespace

std::string GetRegValue(HKEY root, const std::string& subKey, const std::string& name)
{
    static const std::string error = "Error";
    RegKey key(root, subKey, KEY_QUERY_VALUE);
    if (!key.get())
        return error;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return error;
    std::vector<BYTE> data(size + 1, 0);
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return error;
    switch (type) {
    case REG_SZ: {
        std::string text(reinterpret_cast<const char*>(data.data()), size);
        return text.substr(0, text.find('\0'));
    }
    case REG_BINARY:
        return std::string(reinterpret_cast<const char*>(data.data()), size);
    case REG_DWORD: {
        DWORD v = 0;
        if (size >= sizeof v)
            std::memcpy(&v, data.data(), sizeof v);
        return std::to_string(v);
    }
    default:
        return error;
    }
}

LONG CreateRegKey(HKEY root, const std::string& subKey)
{
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KeyAccess, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS)
        RegCloseKey(key);
    return rc;
}

bool SetRegValue(HKEY root, const std::string& subKey, const std::string& name, std::string_view value, DWORD kind)
{
    if (kind == REG_SZ)
        return SetRegText(root, subKey, name, value);
    return SetRegBytes(root, subKey, name, kind, reinterpret_cast<const BYTE*>(value.data()),
                       static_cast<DWORD>(value.size()));
}

bool SetRegText(HKEY root, const std::string& subKey, const std::string& name, std::string_view text)
{
    std::string bytes(text);
    return SetRegBytes(root, subKey, name, REG_SZ, reinterpret_cast<const BYTE*>(bytes.c_str()),
                       static_cast<DWORD>(bytes.size() + 1));
}

bool SetRegBinary(HKEY root, const std::string& subKey, const std::string& name, std::string_view bytes)
{
    return SetRegBytes(root, subKey, name, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
}

std::optional<RegValue> ReadRegValue(HKEY root, const std::string& subKey, const std::string& name)
{
    RegKey key(root, subKey, KEY_QUERY_VALUE);
    if (!key.get())
        return std::nullopt;
    DWORD kind = 0, size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &kind, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(bytes.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(size);
    return RegValue{kind, std::move(bytes)};
}

bool PutRegValue(HKEY root, const std::string& subKey, const std::string& name, const RegValue& value)
{
    return SetRegBytes(root, subKey, name, value.Kind, reinterpret_cast<const BYTE*>(value.Bytes.data()),
                       static_cast<DWORD>(value.Bytes.size()));
}

bool RegKeyExists(HKEY root, const std::string& subKey)
{
    return RegKey(root, subKey, KEY_QUERY_VALUE).get() != nullptr;
}

bool RegKeyIsEmpty(HKEY root, const std::string& subKey)
{
    RegKey key(root, subKey, KEY_QUERY_VALUE);
    DWORD keys = 0, values = 0;
    return key.get() &&
           RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           keys == 0 && values == 0;
}

bool DeleteRegValue(HKEY root, const std::string& subKey, const std::string& name)
{
    RegKey key(root, subKey, KEY_SET_VALUE);
    return key.get() && RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool DeleteRegTree(HKEY root, const std::string& subKey)
{
    {
        RegKey key(root, subKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
        if (!key.get())
            return false;
        // Always the first child: each is gone before the next is asked for.
        char child[256];
        for (DWORD size = sizeof child; RegEnumKeyExA(key.get(), 0, child, &size, nullptr, nullptr, nullptr,
                                                      nullptr) == ERROR_SUCCESS;
             size = sizeof child)
            if (!DeleteRegTree(root, subKey + "\\" + std::string(child, size)))
                return false;
    }
    return RegDeleteKeyA(root, subKey.c_str()) == ERROR_SUCCESS;
}

} // namespace lt
