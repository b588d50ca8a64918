#pragma once

#include <string>
#include <string_view>

namespace doorsel {

// False when a JPEG or BMP file is visibly cut short or promises more than it holds: a JPEG whose
// segments run past the end of the file or that never reaches its end marker, a BMP whose pixel
// data is shorter than its header's size requires. Decoders fill such gaps with grey or black and
// report success, so this is checked before a preview is decoded. Files of any other kind, and
// files that cannot be opened, are left to the decoder (true).
bool PictureFileIsComplete(const std::string& path);

// The same judgement over a picture's bytes in memory.
bool PictureIsComplete(std::string_view bytes);

} // namespace doorsel
