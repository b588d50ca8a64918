// Must not compile: the browse window's rules may use the platform only, not the main window's
// folder. The build test below expects exactly this include to be refused.
#include "mainwindow/options.h"
