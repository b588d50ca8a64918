#pragma once

#include <QString>

#include <string>

namespace doorsel {

// Text the core holds as bytes in the system's encoding, for showing in a window.
inline QString fromLocal(const std::string& s)
{
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace doorsel
