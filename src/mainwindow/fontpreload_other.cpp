#include "fontpreload.h"

namespace doorsel {

FontPreload::FontPreload() = default;

FontPreload::~FontPreload() = default;

void FontPreload::wait()
{
}

} // namespace doorsel
