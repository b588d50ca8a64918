#pragma once

#include <string>

class QWidget;

namespace doorsel {

// Everything that asks the user something or hands work to the desktop: message boxes, the file and
// folder choosers, and opening a file or address with its default program. Windows take one by
// reference; the program passes QtShell, tests a recording fake, so no dialog ever blocks a test.
class Shell {
public:
    virtual ~Shell() = default;

    // A modal message with the product name as caption, the information icon and one OK button.
    virtual void ShowMessage(QWidget* owner, const std::string& text) = 0;

    // A modal open-file dialog starting in initialFolder, offering one filter ("description|pattern",
    // e.g. "LogonUI file (*.exe)|*.exe"). Returns the chosen file's full path, or "" on Cancel.
    virtual std::string OpenFileDialog(QWidget* owner, const std::string& initialFolder, const std::string& filter) = 0;

    // A modal folder chooser with the given title. Returns the chosen folder, or "" on Cancel.
    virtual std::string BrowseForFolder(QWidget* owner, const std::string& title) = 0;

    // Opens a file or URL with its default program. Whether the desktop found one is its own
    // business: it tells the user itself.
    virtual void Open(const std::string& target) = 0;

    // Whether the desktop has a notification area to hold an icon. Without one, a window minimised
    // into it could never be brought back, so it minimises as usual instead.
    virtual bool SystemTrayAvailable() const { return true; }
};

} // namespace doorsel
