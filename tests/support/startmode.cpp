// Ends with the start mode its own command line selects (the StartMode's number), so that tests
// can start it with command lines written exactly as the system would write them.
#include "app/commandline.h"

int main(int argc, char* argv[])
{
    return static_cast<int>(doorsel::StartModeFor(doorsel::CommandLineText(argc, argv)));
}
