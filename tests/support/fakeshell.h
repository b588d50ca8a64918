#pragma once

#include "widgets/shell.h"

#include <deque>
#include <string>
#include <vector>

namespace doorsel::test {

// Answers the dialogs a test has told it to expect and records everything else. A dialog without a
// prepared answer fails the test, and so does an answer left unused when the fake goes away.
class FakeShell : public Shell {
public:
    ~FakeShell() override;

    void answerOpenFile(const std::string& path) { openFileAnswers.push_back(path); }
    void answerFolder(const std::string& folder) { folderAnswers.push_back(folder); }

    // What the program did, in order.
    std::vector<std::string> messages;
    std::vector<std::string> opened;
    struct FileDialog {
        std::string initialFolder;
        std::string filter;
    };
    std::vector<FileDialog> fileDialogs;
    std::vector<std::string> folderTitles;

    void ShowMessage(QWidget* owner, const std::string& text) override;
    std::string OpenFileDialog(QWidget* owner, const std::string& initialFolder, const std::string& filter) override;
    std::string BrowseForFolder(QWidget* owner, const std::string& title) override;
    void Open(const std::string& target) override;
    bool SystemTrayAvailable() const override { return trayAvailable; }

    // The offscreen platform has no tray, but a test may pretend one either way.
    bool trayAvailable = true;

private:
    std::deque<std::string> openFileAnswers;
    std::deque<std::string> folderAnswers;
};

// The local path a "file:" URL names, byte for byte; "" for any other text.
std::string localPathOf(const std::string& url);

} // namespace doorsel::test
