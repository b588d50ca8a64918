#pragma once

#include <string>

// The product's web server: its base address and the three addresses the About window uses.
namespace doorsel::about {

inline constexpr const char* DefaultServer = "http://doorsel.example";

// The base address for the "UpdateServer" setting's text: the setting without trailing "/" when it
// holds anything, else the built-in server.
std::string BaseUrlFrom(const std::string& configured);

// The base address as the settings file says now.
std::string ServerBaseUrl();

std::string WebPageUrl(const std::string& base);
std::string VersionFileUrl(const std::string& base);
std::string LinksFileUrl(const std::string& base);

} // namespace doorsel::about
