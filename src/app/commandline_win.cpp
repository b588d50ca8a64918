#include "commandline.h"

#include "platform/widetext.h"

#include <windows.h>

namespace doorsel {

// The C runtime's argument words have lost the quotes and the trailing blanks the switch is
// compared with; the process's own command line still has them. A line the code page cannot hold
// exactly is no switch: a look-alike of one must not start a mode.
std::string CommandLineText(int /*argc*/, const char* const* /*argv*/)
{
    return ArgumentsAfterProgramName(widetext::Narrow(GetCommandLineW()).value_or(std::string()));
}

} // namespace doorsel
