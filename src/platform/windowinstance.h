#pragma once

#include <cstdint>

namespace doorsel {

// The window mode runs once per user (on Windows, once per user session): the first start holds it
// for its whole life, and a later one asks the running window to come forward and ends. The
// one-shot modes never look at it. Nobody else may take or answer it: on POSIX systems it is a lock
// and a local socket in a folder only the user may open, on Windows named objects of the session.
class WindowInstance {
public:
    // Tries to hold the window mode. When it cannot be arranged at all (no private folder), the
    // window runs as if it were the only one: a start is never refused for want of it.
    WindowInstance();
    ~WindowInstance();
    WindowInstance(const WindowInstance&) = delete;
    WindowInstance& operator=(const WindowInstance&) = delete;

    // Whether this process runs the window; false when another process of the user already does.
    bool held() const { return holder; }

    // Not held: asks the running window to come forward. False when it did not take the request
    // within a few seconds.
    bool askRunningToComeForward();

    // Held: what becomes ready (readable on POSIX, signalled on Windows) when another start asks;
    // -1 when nobody can ask.
    std::intptr_t requestHandle() const { return request; }
    // Held, once the handle is ready: takes the requests waiting and answers them.
    void takeRequests();

private:
    bool holder = true;
    std::intptr_t lock = -1;
    std::intptr_t request = -1;
};

} // namespace doorsel
