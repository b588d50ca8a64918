#pragma once

#include <string>

class QLineEdit;

namespace doorsel {

// A path shown in a line edit: the edit shows the decoded text and gives back the very bytes it was
// given, so a path that is not valid in the system's encoding survives a round trip unchanged. Text
// typed over it is encoded afresh.
void setPathText(QLineEdit* edit, const std::string& path);
std::string pathText(const QLineEdit* edit);

} // namespace doorsel
