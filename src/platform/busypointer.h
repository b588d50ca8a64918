#pragma once

#include <QApplication>

namespace doorsel {

// Shows the busy pointer while it lives: over a folder walk, or while a download waits.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace doorsel
