#include "profile.h"
#include "profile_text.h"

namespace doorsel {

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& file)
{
    return profile::readFileValue(section, key, "", 255, file);
}

bool WriteIniValue(
    const std::string& section, const std::string& key, const std::string& value, const std::string& file)
{
    return profile::writeFileValue(section, key, value, file);
}

} // namespace doorsel
