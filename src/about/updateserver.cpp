#include "updateserver.h"

#include "platform/settings.h"

namespace doorsel::about {

std::string BaseUrlFrom(const std::string& configured)
{
    const size_t first = configured.find_first_not_of(" \t");
    if (first == std::string::npos)
        return DefaultServer;
    const size_t last = configured.find_last_not_of(" \t/");
    if (last == std::string::npos || last < first)
        return DefaultServer;
    return configured.substr(first, last - first + 1);
}

std::string ServerBaseUrl()
{
    return BaseUrlFrom(settings::Read(settings::UpdateServer));
}

std::string WebPageUrl(const std::string& base)
{
    return base + "/doorsel/";
}

std::string VersionFileUrl(const std::string& base)
{
    return base + "/doorsel/CurrentVersion.dat";
}

std::string LinksFileUrl(const std::string& base)
{
    return base + "/doorsel/links.dat";
}

} // namespace doorsel::about
