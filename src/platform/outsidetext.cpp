#include "outsidetext.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace doorsel {
namespace {

constexpr std::string_view FirstStrongIsolate = "\xE2\x81\xA8"; // U+2068
constexpr std::string_view PopDirectionalIsolate = "\xE2\x81\xA9"; // U+2069

// The characters that steer the bidirectional algorithm, in UTF-8: the Arabic letter mark, the
// left-to-right and right-to-left marks, the embeddings and overrides, and the isolates.
constexpr std::array<std::string_view, 12> BidiControls {"\xD8\x9C", "\xE2\x80\x8E", "\xE2\x80\x8F", "\xE2\x80\xAA",
    "\xE2\x80\xAB", "\xE2\x80\xAC", "\xE2\x80\xAD", "\xE2\x80\xAE", "\xE2\x81\xA6", "\xE2\x81\xA7", "\xE2\x81\xA8",
    "\xE2\x81\xA9"};
// The bytes the controls start with.
constexpr std::string_view ControlLeadBytes = "\xD8\xE2";
static_assert(std::all_of(BidiControls.begin(), BidiControls.end(),
    [](std::string_view c) { return ControlLeadBytes.find(c.front()) != std::string_view::npos; }));

} // namespace

std::string IsolatedText(const std::string& text)
{
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return text;
    std::string result(FirstStrongIsolate);
    for (size_t pos = 0; pos < text.size();) {
        // Every control starts with one of these two bytes: what lies before the next of them is
        // copied whole.
        const size_t lead
            = std::min(text.find_first_of(ControlLeadBytes.data(), pos, ControlLeadBytes.size()), text.size());
        result.append(text, pos, lead - pos);
        pos = lead;
        if (pos == text.size())
            break;
        const std::string_view rest = std::string_view(text).substr(pos);
        const auto control = std::find_if(
            BidiControls.begin(), BidiControls.end(), [&](std::string_view c) { return rest.starts_with(c); });
        if (control != BidiControls.end()) {
            pos += control->size();
            continue;
        }
        result += text[pos++];
    }
    result += PopDirectionalIsolate;
    return result;
}

} // namespace doorsel
