#include "legacytext.h"

#include "widetext.h"

#include <optional>
#include <windows.h>

namespace doorsel {
namespace {

// The system's ANSI code page, which GetACP() no longer gives once the manifest asks for UTF-8.
unsigned LegacyCodePage()
{
    DWORD codePage = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
            reinterpret_cast<wchar_t*>(&codePage), sizeof codePage / sizeof(wchar_t))
        == 0)
        return CP_ACP;
    return codePage;
}

} // namespace

std::string LegacyLineAsText(std::string line)
{
    if (widetext::Widen(line, CP_UTF8))
        return line;
    static const unsigned legacy = LegacyCodePage();
    const std::optional<std::wstring> wide = widetext::Widen(line, legacy);
    if (!wide)
        return line;
    return widetext::Narrow(*wide, CP_UTF8).value_or(line);
}

} // namespace doorsel
