#include "windowinstance.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace doorsel {
namespace {

constexpr char Answer = '+';

bool ownedOnlyByMe(const std::string& folder)
{
    struct stat info { };
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & 077) == 0;
}

// A folder that only this user may open and that is no link: in the user's runtime folder when the
// session has one (not one handed down from another user, as sudo does), else in /tmp. "" when
// neither can be had.
std::string privateFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base = runtime != nullptr && runtime[0] == '/' && ownedOnlyByMe(runtime)
        ? std::string(runtime) + "/doorsel"
        : "/tmp/doorsel-" + std::to_string(::geteuid());
    if (::mkdir(base.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    return ownedOnlyByMe(base) ? base : std::string();
}

bool socketAddress(const std::string& folder, sockaddr_un& address)
{
    const std::string path = folder + "/window.sock";
    if (path.size() >= sizeof address.sun_path)
        return false;
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int listenAt(const sockaddr_un& address)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    // Whatever socket a window left behind is no one's now: the lock is held.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// One request: a connection, answered with one byte when the running window takes it.
bool askOnce(const sockaddr_un& address, std::chrono::steady_clock::time_point until)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        pollfd wait {fd, POLLIN, 0};
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        char byte = 0;
        answered = left.count() > 0 && ::poll(&wait, 1, static_cast<int>(left.count())) == 1
            && ::read(fd, &byte, 1) == 1 && byte == Answer;
    }
    ::close(fd);
    return answered;
}

} // namespace

WindowInstance::WindowInstance()
{
    const std::string folder = privateFolder();
    sockaddr_un address {};
    if (folder.empty() || !socketAddress(folder, address))
        return;
    const int fd = ::open((folder + "/window.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        holder = !taken;
        return;
    }
    lock = fd;
    request = listenAt(address);
}

WindowInstance::~WindowInstance()
{
    if (request >= 0)
        ::close(static_cast<int>(request));
    if (lock >= 0)
        ::close(static_cast<int>(lock));
}

bool WindowInstance::askRunningToComeForward()
{
    const std::string folder = privateFolder();
    sockaddr_un address {};
    if (holder || folder.empty() || !socketAddress(folder, address))
        return false;
    // The running window may be starting still, its socket not yet made.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        if (askOnce(address, until))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

void WindowInstance::takeRequests()
{
    for (;;) {
        const int fd = ::accept4(static_cast<int>(request), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        // The caller waits for this byte; one that has gone meanwhile is no loss.
        (void)::send(fd, &Answer, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        ::close(fd);
    }
}

} // namespace doorsel
