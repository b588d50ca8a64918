#include "registry.h"

#include "appinfo.h"
#include "filestore.h"
#include "regfile.h"

namespace doorsel {

std::string RegistryStorePath()
{
    return ProgramFile("registry.reg");
}

void WriteRegValue(const std::string& path, const std::string& value)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return;
    UpdateStoreFile(RegistryStorePath(), [&](const std::optional<std::string>& current) {
        return regfile::withValue(current.value_or(""), *where, value);
    });
}

std::string ReadRegValue(const std::string& path)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return {};
    const auto text = ReadStoreFile(RegistryStorePath());
    if (!text)
        return {};
    return regfile::lookup(*text, *where).value_or("");
}

void DeleteRegValue(const std::string& path)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return;
    UpdateStoreFile(RegistryStorePath(), [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        if (!current)
            return std::nullopt;
        return regfile::withoutValue(*current, *where);
    });
}

} // namespace doorsel
