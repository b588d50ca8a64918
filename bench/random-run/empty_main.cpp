// The floor of a process start: a program that starts and ends.
int main()
{
}
