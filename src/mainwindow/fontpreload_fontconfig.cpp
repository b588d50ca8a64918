#include "fontpreload.h"

#include <fontconfig/fontconfig.h>

namespace doorsel {

// The toolkit's font database starts by loading the same configuration; loaded once, it is kept.
FontPreload::FontPreload()
    : thread([] { FcInit(); })
{
}

FontPreload::~FontPreload()
{
    wait();
}

void FontPreload::wait()
{
    if (thread.joinable())
        thread.join();
}

} // namespace doorsel
