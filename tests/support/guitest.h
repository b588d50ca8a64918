#pragma once

#include "browse/browseowner.h"

#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace doorsel::test {

// A control a test asked for by a name the window does not have.
class MissingControl : public std::runtime_error {
public:
    explicit MissingControl(const char* name)
        : std::runtime_error(std::string("no control named ") + name)
    {
    }
};

// The window's control of that name. A missing one (a renamed control) ends the test that asked
// with a failure, and the run goes on: a null pointer handed to QTest would abort the whole program.
template <typename T = QWidget> T* controlOf(const QObject& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw MissingControl(name);
    return found;
}

// Which of a window's two page frames shows: 1 or 2, 0 when not exactly one of them does.
inline int shownFrame(const QWidget& window, const char* first, const char* second)
{
    const bool one = controlOf(window, first)->isVisibleTo(&window);
    const bool two = controlOf(window, second)->isVisibleTo(&window);
    return one == two ? 0 : (one ? 1 : 2);
}

// A browse window opened with no main window behind it.
class NoOwner : public BrowseOwner {
public:
    void SetPicture() override { }
    void SetCloseBrowseBox(int /*value*/) override { }
    QWidget* ownerWidget() override { return nullptr; }
};

} // namespace doorsel::test
