// A process that loads everything doorsel loads and ends at once: the cost of starting doorsel
// before it does anything.
#include "mainwindow/runwindow.h"

int main(int argc, char* argv[])
{
    // Never true; it keeps the window code, and so every library doorsel needs, in the program.
    if (argc < 0)
        return doorsel::RunWindow(argv[0], false);
    return 0;
}
