#pragma once

#include <string>
#include <thread>

namespace doorsel {

// Reads the system's font configuration on a thread of its own while the application connects to
// the display. The first window's text waits for it, and on a desktop with a font configuration it
// is the longest single step of a first window; where fonts are found otherwise, it does nothing.
// When the configuration has no face of `family`, the thread also adds `faceFile` (if any) as one,
// so reading that file is not left to the window's own start.
// Waits for the thread when it goes; wait() waits earlier.
class FontPreload {
public:
    FontPreload(std::string family, std::string faceFile);
    ~FontPreload();
    FontPreload(const FontPreload&) = delete;
    FontPreload& operator=(const FontPreload&) = delete;

    void wait();

private:
    std::thread thread;
};

} // namespace doorsel
