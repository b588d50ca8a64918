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
// comes back in `name`. False when the path names no value, a name the code page does not hold
// exactly, or a key that cannot be had. The 64-bit view is named, so that a 32-bit build reaches the
// same Winlogon and Run keys the system reads.
bool openValueKey(const std::string& path, REGSAM access, bool create, Key& key, std::wstring& name)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return false;
    std::string subKey;
    const HKEY root = rootKey(where->key, subKey);
    const std::optional<std::wstring> wideKey = widetext::Widen(subKey);
    const std::optional<std::wstring> wideName = widetext::Widen(where->name);
    if (!root || !wideKey || !wideName)
        return false;
    access |= KEY_WOW64_64KEY;
    const LONG rc = create ? RegCreateKeyExW(root, wideKey->c_str(), 0, nullptr, 0, access, nullptr, key.out(), nullptr)
                           : RegOpenKeyExW(root, wideKey->c_str(), 0, access, key.out());
    name = *wideName;
    return rc == ERROR_SUCCESS;
}

} // namespace

// The portable store's location; on Windows the values live in the system registry itself.
std::string RegistryStorePath()
{
    return {};
}

void WriteRegValue(const std::string& path, const std::string& value)
{
    Key key;
    std::wstring name;
    const std::optional<std::wstring> data = widetext::Widen(value);
    if (!data || !openValueKey(path, KEY_SET_VALUE, true, key, name))
        return;
    RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()),
        static_cast<DWORD>((data->size() + 1) * sizeof(wchar_t)));
}

std::string ReadRegValue(const std::string& path)
{
    Key key;
    std::wstring name;
    if (!openValueKey(path, KEY_QUERY_VALUE, false, key, name))
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

void DeleteRegValue(const std::string& path)
{
    Key key;
    std::wstring name;
    if (!openValueKey(path, KEY_SET_VALUE, false, key, name))
        return;
    RegDeleteValueW(key.get(), name.c_str());
}

} // namespace doorsel
