#include "settings.h"

#include "platform/appinfo.h"
#include "platform/profile.h"
#include "platform/profile_text.h"
#include "platform/settings_number.h"

namespace doorsel::settings {

std::string Read(const char* key)
{
    return ReadIniValue(Section, key, ConfigPath);
}

bool Write(const char* key, const std::string& value)
{
    return WriteIniValue(Section, key, value, ConfigPath);
}

bool Update(const char* key, const std::function<std::optional<std::string>(const Reader& read)>& next)
{
    return profile::updateFileValue(
        Section, key,
        [&](const std::optional<std::string>& text) {
            // As ReadIniValue reads: at most 254 characters.
            return next([&](const char* name) { return profile::readString(text, Section, name, "", 255); });
        },
        ConfigPath);
}

bool WriteIfEmpty(const char* key, const std::string& value)
{
    return Update(
        key, [&](const Reader& read) { return read(key).empty() ? std::optional<std::string>(value) : std::nullopt; });
}

std::optional<long long> NumberOf(const std::string& text)
{
    return WholeNumber<long long>(NumberText(text));
}

} // namespace doorsel::settings
