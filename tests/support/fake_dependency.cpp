// A library a test module needs: where the program may look for it is what the test checks.
extern "C" __declspec(dllexport) int doorsel_fake_answer()
{
    return 42;
}
