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
        if (h_)
            RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &h_; }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

} // namespace

// The portable store's location; on Windows the values live in the system registry itself.
std::string RegistryStorePath()
{
    return {};
}

void WriteRegValue(const std::string& path, const std::string& value)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return;
    std::string subKey;
    const HKEY root = rootKey(where->key, subKey);
    Key key;
    if (!root
        || RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.out(), nullptr)
            != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), where->name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
        static_cast<DWORD>(value.size() + 1));
}

std::string ReadRegValue(const std::string& path)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return {};
    std::string subKey;
    const HKEY root = rootKey(where->key, subKey);
    Key key;
    if (!root || RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), where->name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::string data(size, '\0');
    if (RegQueryValueExA(key.get(), where->name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)
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
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return;
    std::string subKey;
    const HKEY root = rootKey(where->key, subKey);
    Key key;
    if (!root || RegOpenKeyExA(root, subKey.c_str(), 0, KEY_SET_VALUE, key.out()) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key.get(), where->name.c_str());
}

} // namespace doorsel
