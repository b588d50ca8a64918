#include "fontpreload.h"

namespace doorsel {

FontPreload::FontPreload(std::string /*family*/, std::string /*faceFile*/)
{
}

FontPreload::~FontPreload() = default;

void FontPreload::wait()
{
}

} // namespace doorsel
