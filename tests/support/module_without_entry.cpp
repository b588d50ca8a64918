// A library that loads but offers no entry the program could call.
extern "C" int doorsel_something_else()
{
    return 0;
}
