#include "fontpreload.h"

#include <fontconfig/fontconfig.h>

namespace doorsel {

namespace {

bool HasFamily(const std::string& family)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* faces = FcFontList(nullptr, pattern, objects);
    const bool found = faces != nullptr && faces->nfont > 0;
    if (faces != nullptr)
        FcFontSetDestroy(faces);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

} // namespace

// The toolkit's font database starts by loading the same configuration; loaded once, it is kept, and
// a face added to it here is one the toolkit lists as its own.
FontPreload::FontPreload(std::string family, std::string faceFile)
    : thread([family = std::move(family), faceFile = std::move(faceFile)] {
        FcInit();
        if (!faceFile.empty() && !HasFamily(family))
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(faceFile.c_str()));
    })
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
