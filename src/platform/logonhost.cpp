#include "logonhost.h"

#include "platform/appinfo.h"

namespace doorsel {

std::string RunValueRandomPath()
{
    return std::string(RunKey) + ProductName + " Random";
}

std::string RunValueStartupPath()
{
    return std::string(RunKey) + ProductName;
}

} // namespace doorsel
