#include "commandline.h"

#include <windows.h>

namespace doorsel {

// The C runtime's argument words have lost the quotes and the trailing blanks the switch is
// compared with; the process's own command line still has them.
std::string CommandLineText(int /*argc*/, const char* const* /*argv*/)
{
    return ArgumentsAfterProgramName(GetCommandLineA());
}

} // namespace doorsel
