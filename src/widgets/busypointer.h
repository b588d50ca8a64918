#pragma once

#include <QApplication>

namespace doorsel {

// Shows the busy pointer while it lives: while a download waits, or, as the pointer that says the
// program works on in the background, over a folder walk.
class BusyPointer {
public:
    explicit BusyPointer(Qt::CursorShape shape = Qt::WaitCursor) { QApplication::setOverrideCursor(shape); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace doorsel
