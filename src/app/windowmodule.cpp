#include "windowmodule.h"

#include "platform/appinfo.h"
#include "platform/windowmodule.h"

namespace doorsel {

std::string WindowModuleFailure(const std::string& modulePath, WindowModuleProblem problem, const std::string& detail)
{
    std::string line = std::string(ProductName) + ": the windows cannot open: ";
    switch (problem) {
    case WindowModuleProblem::NoProgramFolder:
        line += "the program's folder has a name this system cannot pass on, so " + modulePath + " cannot be found";
        break;
    case WindowModuleProblem::Missing:
        line += modulePath + " is missing";
        break;
    case WindowModuleProblem::NotLoaded:
        line += modulePath + " cannot be loaded";
        break;
    case WindowModuleProblem::NoEntry:
        line += modulePath + " has no entry " + WindowModuleEntryName;
        break;
    }
    if (!detail.empty())
        line += " (" + detail + ")";
    return line;
}

} // namespace doorsel
