#include "logonswitch.h"

#include "logonhost.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/storefailure.h"

namespace doorsel {

std::string TrimChosenName(const std::string& name)
{
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

bool SetLogonHost(const std::string& path)
{
    return WriteRegValueChecked(UIHostPath, path);
}

std::string SetFailedMessage()
{
    return NotStoredMessage(failuretext::LogonScreenNotChanged, RegistryStorePath());
}

bool SuccessMessageWanted()
{
    return !settings::IsOn(settings::Read(settings::AlertYN));
}

} // namespace doorsel
