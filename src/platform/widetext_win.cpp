#include "widetext.h"

#include <algorithm>
#include <climits>

#include <windows.h>

namespace doorsel::widetext {
namespace {

UINT resolved(unsigned codePage)
{
    return codePage == CP_ACP ? GetACP() : codePage;
}

// The system's conversions with every fallback off: nothing where one would be needed.
std::optional<std::wstring> toWide(std::string_view text, UINT codePage)
{
    if (text.empty())
        return std::wstring();
    if (text.size() > INT_MAX)
        return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n) != n)
        return std::nullopt;
    return wide;
}

std::optional<std::string> toBytes(std::wstring_view text, UINT codePage)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX)
        return std::nullopt;
    // UTF-8 has no stand-in character and takes neither the best-fit flag nor the report of one;
    // it has a flag of its own for text it cannot encode (a lone surrogate).
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const used = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, used);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(n), '\0');
    if (WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), n, nullptr, used) != n || usedDefault)
        return std::nullopt;
    return bytes;
}

bool separatorsAgree(std::string_view bytes, std::wstring_view wide)
{
    return std::ranges::all_of(std::string_view("\\/"), [&](char separator) {
        return std::ranges::count(bytes, separator) == std::ranges::count(wide, static_cast<wchar_t>(separator));
    });
}

std::wstring fullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    return full;
}

} // namespace

// Each way is checked by going back: a code page may read two byte sequences as one character.
std::optional<std::string> Narrow(std::wstring_view text, unsigned codePage)
{
    const UINT page = resolved(codePage);
    std::optional<std::string> bytes = toBytes(text, page);
    if (!bytes || toWide(*bytes, page) != text || !separatorsAgree(*bytes, text))
        return std::nullopt;
    return bytes;
}

std::optional<std::wstring> Widen(std::string_view text, unsigned codePage)
{
    const UINT page = resolved(codePage);
    std::optional<std::wstring> wide = toWide(text, page);
    if (!wide || toBytes(*wide, page) != text || !separatorsAgree(text, *wide))
        return std::nullopt;
    return wide;
}

std::optional<std::string> NarrowName(std::wstring_view name, unsigned codePage)
{
    if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"\\/") != std::wstring_view::npos)
        return std::nullopt;
    return Narrow(name, codePage);
}

std::optional<std::wstring> SystemPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::nullopt;
    std::optional<std::wstring> wide = Widen(path);
    if (!wide)
        return std::nullopt;
    constexpr std::wstring_view literal = L"\\\\?\\";
    if (wide->starts_with(literal))
        return wide;
    const std::wstring full = fullPath(*wide);
    if (full.empty())
        return std::nullopt;
    if (full.starts_with(L"\\\\.\\")) // a device
        return full;
    if (full.starts_with(L"\\\\"))
        return std::wstring(literal) + L"UNC" + full.substr(1);
    if (full.size() >= 2 && full[1] == L':')
        return std::wstring(literal) + full;
    return full;
}

} // namespace doorsel::widetext
