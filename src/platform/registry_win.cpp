#include "registry.h"

#include "appinfo.h"
#include "regfile.h"
#include "widetext.h"

#include <algorithm>

#include <windows.h>

namespace doorsel {
namespace {

HKEY rootKey(const std::string& key, std::string& subKey)
{
    struct Root {
        const char* name;
        HKEY key;
    };
    static const Root roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_USERS", HKEY_USERS},
        {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    };
    const size_t sep = key.find('\\');
    const std::string root = key.substr(0, sep);
    subKey = sep == std::string::npos ? std::string() : key.substr(sep + 1);
    for (const Root& r : roots) {
        if (root == r.name)
            return r.key;
    }
    return nullptr;
}

class Key {
public:
    Key() = default;
    ~Key()
    {
        if (handle)
            RegCloseKey(handle);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &handle; }
    HKEY get() const { return handle; }

private:
    HKEY handle = nullptr;
};

// Opens the key that holds a value ("HKLM\\...\\Name"), creating it when asked; the value's name
// comes back in `name`. The registry's error when the key cannot be had, ERROR_INVALID_PARAMETER
// when the path names no value or a name the code page does not hold exactly. The 64-bit view is named, so that a
// 32-bit build reaches the same Winlogon and Run keys the system reads.
LONG openValueKey(const std::string& path, REGSAM access, bool create, Key& key, std::wstring& name)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return ERROR_INVALID_PARAMETER;
    std::string subKey;
    const HKEY root = rootKey(where->key, subKey);
    const std::optional<std::wstring> wideKey = widetext::Widen(subKey);
    const std::optional<std::wstring> wideName = widetext::Widen(where->name);
    if (!root || !wideKey || !wideName)
        return ERROR_INVALID_PARAMETER;
    access |= KEY_WOW64_64KEY;
    const LONG rc = create ? RegCreateKeyExW(root, wideKey->c_str(), 0, nullptr, 0, access, nullptr, key.out(), nullptr)
                           : RegOpenKeyExW(root, wideKey->c_str(), 0, access, key.out());
    name = *wideName;
    return rc;
}

} // namespace

// The portable store's location; on Windows the values live in the system registry itself.
std::string RegistryStorePath()
{
    return {};
}

bool WriteRegValue(const std::string& path, const std::string& value)
{
    Key key;
    std::wstring name;
    const std::optional<std::wstring> data = widetext::Widen(value);
    if (!data || openValueKey(path, KEY_SET_VALUE, true, key, name) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()),
               static_cast<DWORD>((data->size() + 1) * sizeof(wchar_t)))
        == ERROR_SUCCESS;
}

std::string ReadRegValue(const std::string& path)
{
    Key key;
    std::wstring name;
    if (openValueKey(path, KEY_QUERY_VALUE, false, key, name) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)
        != ERROR_SUCCESS)
        return {};
    // The stored string carries its terminating NUL (or more than one), or none at all.
    data.resize(std::min<size_t>(data.find(L'\0'), size / sizeof(wchar_t)));
    return widetext::Narrow(data).value_or(std::string());
}

bool UpdateRegValue(const std::string& path, const RegValueChoice& choose)
{
    const std::optional<std::string> value = choose(ReadRegValue(path));
    return !value || WriteRegValue(path, *value);
}

bool DeleteRegValue(const std::string& path)
{
    Key key;
    std::wstring name;
    const LONG opened = openValueKey(path, KEY_SET_VALUE, false, key, name);
    if (opened != ERROR_SUCCESS)
        return opened == ERROR_FILE_NOT_FOUND;
    const LONG rc = RegDeleteValueW(key.get(), name.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

} // namespace doorsel
