// Stands in for the program the system opens a file or address with: adds the argument it was
// given to the end of a file, as one UTF-8 line. Usage: doorsel_record_arguments RECORD ARGUMENT
#include <cstdio>
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 3)
        return 2;
    const std::wstring argument = argv[2];
    const int size = WideCharToMultiByte(
        CP_UTF8, 0, argument.c_str(), static_cast<int>(argument.size()), nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(
        CP_UTF8, 0, argument.c_str(), static_cast<int>(argument.size()), line.data(), size, nullptr, nullptr);
    FILE* record = _wfopen(argv[1], L"ab");
    if (!record)
        return 1;
    std::fputs((line + "\n").c_str(), record);
    return std::fclose(record) == 0 ? 0 : 1;
}
