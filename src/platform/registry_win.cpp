#include "registry.h"

#include "appinfo.h"
#include "regfile.h"

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
// comes back in `name`. False when the path names no value or the key cannot be had.
bool openValueKey(const std::string& path, REGSAM access, bool create, Key& key, std::string& name)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return false;
    std::string subKey;
    const HKEY root = rootKey(where->key, subKey);
    if (!root)
        return false;
    const LONG rc = create ? RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, access, nullptr, key.out(), nullptr)
                           : RegOpenKeyExA(root, subKey.c_str(), 0, access, key.out());
    name = where->name;
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
    std::string name;
    if (!openValueKey(path, KEY_SET_VALUE, true, key, name))
        return;
    RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
        static_cast<DWORD>(value.size() + 1));
}

std::string ReadRegValue(const std::string& path)
{
    Key key;
    std::string name;
    if (!openValueKey(path, KEY_QUERY_VALUE, false, key, name))
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::string data(size, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)
        != ERROR_SUCCESS)
        return {};
    data.resize(size);
    // The stored string carries its terminating NUL (or more than one).
    const size_t nul = data.find('\0');
    if (nul != std::string::npos)
        data.resize(nul);
    return data;
}

void DeleteRegValue(const std::string& path)
{
    Key key;
    std::string name;
    if (!openValueKey(path, KEY_SET_VALUE, false, key, name))
        return;
    RegDeleteValueA(key.get(), name.c_str());
}

} // namespace doorsel
