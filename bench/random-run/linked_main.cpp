// A process that loads every library the windows need and ends at once: what a start cost when
// the program linked its windows.
#include "mainwindow/runwindow.h"

int main(int argc, char* argv[])
{
    // Never true; it keeps the window code, and so every library the windows need, in the program.
    if (argc < 0)
        return doorsel::RunWindow(argv[0], false);
    return 0;
}
