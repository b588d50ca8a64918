#include "registry.h"

#include "appinfo.h"
#include "filestore.h"
#include "regfile.h"

namespace doorsel {

std::string RegistryStorePath()
{
    return ProgramFile("registry.reg");
}

bool UpdateRegValue(const std::string& path, const RegValueChoice& choose)
{
    const auto where = regfile::splitValuePath(path);
    if (!where)
        return false;
    bool unchanged = false;
    const bool written = UpdateStoreFile(RegistryStorePath(), [&](const std::optional<std::string>& current) {
        const std::string stored = current ? regfile::lookup(*current, *where).value_or("") : std::string();
        const std::optional<std::string> value = choose(stored);
        std::optional<std::string> next
            = value ? regfile::withValue(current.value_or(""), *where, *value) : std::nullopt;
        unchanged = !next && (!value || (current && regfile::lookup(*current, *where) == value));
        return next;
    });
    return written || unchanged;
}

bool WriteRegValue(const std::string& path, const std::string& value)
{
    return UpdateRegValue(path, [&](const std::string&) { return std::optional<std::string>(value); });
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
