// Must not compile: a subsystem's rules are standard C++ and may not use what the windows share
// over Qt. The build test below expects exactly this include to be refused.
#include "widgets/shell.h"
