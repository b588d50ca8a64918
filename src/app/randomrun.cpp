#include "randomrun.h"

namespace doorsel {

void RunRandom()
{
}

} // namespace doorsel
