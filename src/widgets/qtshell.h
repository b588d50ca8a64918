#pragma once

#include "shell.h"

namespace doorsel {

// The desktop's own dialogs and default programs, through Qt.
class QtShell : public Shell {
public:
    void ShowMessage(QWidget* owner, const std::string& text) override;
    std::string OpenFileDialog(QWidget* owner, const std::string& initialFolder, const std::string& filter) override;
    std::string BrowseForFolder(QWidget* owner, const std::string& title) override;
    void Open(const std::string& target) override;
    bool SystemTrayAvailable() const override;
};

} // namespace doorsel
