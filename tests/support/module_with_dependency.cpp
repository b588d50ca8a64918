// A window module that needs a library of its own, and ends the window mode with that library's
// answer once it has been found.
extern "C" __declspec(dllimport) int doorsel_fake_answer();

extern "C" __declspec(dllexport) int doorsel_run_window(char* /*programName*/, int /*minimized*/)
{
    return doorsel_fake_answer();
}
