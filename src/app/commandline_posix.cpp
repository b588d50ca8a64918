#include "commandline.h"

namespace doorsel {

std::string CommandLineText(int argc, const char* const* argv)
{
    return JoinArguments(argc, argv);
}

} // namespace doorsel
