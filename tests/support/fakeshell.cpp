#include "support/fakeshell.h"

#include <QUrl>

#include <algorithm>

#include <gtest/gtest.h>

namespace doorsel::test {

FakeShell::~FakeShell()
{
    EXPECT_TRUE(openFileAnswers.empty()) << "file dialog answers left unused";
    EXPECT_TRUE(folderAnswers.empty()) << "folder chooser answers left unused";
}

void FakeShell::ShowMessage(QWidget*, const std::string& text)
{
    messages.push_back(text);
}

std::string FakeShell::OpenFileDialog(QWidget*, const std::string& initialFolder, const std::string& filter)
{
    fileDialogs.push_back({initialFolder, filter});
    if (openFileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return {};
    }
    std::string answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

std::string FakeShell::BrowseForFolder(QWidget*, const std::string& title)
{
    folderTitles.push_back(title);
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "unexpected folder chooser";
        return {};
    }
    std::string answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void FakeShell::Open(const std::string& target)
{
    opened.push_back(target);
}

std::string localPathOf(const std::string& url)
{
    const QUrl parsed = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    if (!parsed.isValid() || parsed.scheme() != QLatin1String("file") || !parsed.host().isEmpty())
        return {};
    std::string path = QByteArray::fromPercentEncoding(parsed.path(QUrl::FullyEncoded).toLatin1()).toStdString();
#ifdef _WIN32
    // "/C:/folder/file" names C:\folder\file.
    if (path.size() > 2 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

} // namespace doorsel::test
