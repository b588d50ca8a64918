// The floor of a run that stores a pick: a program that does nothing but replace one small file
// the way every store is replaced (a new file created beside it, given the old one's mode, written,
// flushed, renamed over it, and the folder flushed), with no reading, no lock and no C++ runtime.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 2)
        return 2;
    const int folder = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 1;
    char name[64];
    std::snprintf(name, sizeof name, ".registry.reg.%ld.tmp", static_cast<long>(getpid()));
    const int file = openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0)
        return 1;
    // As long as the registry store a run writes.
    static const char content[169] = "REGEDIT4\r\n\r\n";
    const bool written
        = fchmod(file, 0644) == 0 && write(file, content, sizeof content) == sizeof content && fdatasync(file) == 0;
    const bool closed = close(file) == 0;
    const bool replaced = written && closed && renameat(folder, name, folder, "registry.reg") == 0;
    const bool flushed = replaced && fsync(folder) == 0;
    close(folder);
    return flushed ? 0 : 1;
}
