#include "windowsdir.h"

#include "appinfo.h"

namespace doorsel {

std::string GetWindowsDir()
{
    return ProgramFolder();
}

} // namespace doorsel
