#include "registry.h"

#include "appinfo.h"
#include "filestore.h"
#include "regfile.h"

namespace doorsel {

std::string RegistryStorePath()
{
    return ProgramFile("registry.reg");
}

bool WriteRegValue(const std::string& path, const std::string& value)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return false;
    bool alreadyStored = false;
    const bool written = UpdateStoreFile(RegistryStorePath(), [&](const std::optional<std::string>& current) {
        std::optional<std::string> next = regfile::withValue(current.value_or(""), *where, value);
        alreadyStored = !next && current && regfile::lookup(*current, *where) == value;
        return next;
    });
    return written || alreadyStored;
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

bool DeleteRegValue(const std::string& path)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return false;
    bool absent = false;
    const bool written = UpdateStoreFile(
        RegistryStorePath(), [&](const std::optional<std::string>& current) -> std::optional<std::string> {
            std::optional<std::string> next = current ? regfile::withoutValue(*current, *where) : std::nullopt;
            absent = !next;
            return next;
        });
    return written || absent;
}

} // namespace doorsel
