#include "commandline.h"

#include "platform/widetext.h"

#include <windows.h>

namespace doorsel {

// The C runtime's argument words have lost the quotes and the trailing blanks the switch is
// compared with; the process's own command line still has them. The program's name is taken off
// before any conversion, so a folder name the code page cannot hold does not hide the switch; the
// rest, if the code page cannot hold it exactly, is no switch: a look-alike must not start a mode.
std::string CommandLineText(int /*argc*/, const char* const* /*argv*/)
{
    const std::wstring_view arguments = ArgumentsAfterProgramName(std::wstring_view(GetCommandLineW()));
    return widetext::Narrow(std::wstring(arguments)).value_or(std::string());
}

} // namespace doorsel
