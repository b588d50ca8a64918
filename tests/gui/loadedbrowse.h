#pragma once

#include "browse/frmBrowse.h"

#include <QAbstractItemView>
#include <QSignalSpy>

namespace doorsel::test {

// Waits, as the opener does, for the browse window's walk to end; false when it never does.
inline bool Loaded(frmBrowse& window)
{
    QSignalSpy loaded(&window, &frmBrowse::loaded);
    return loaded.wait(10000);
}

// A cell of the browse list, by row and column.
inline QModelIndex Row(const QAbstractItemView& list, int row, int column = 0)
{
    return list.model()->index(row, column);
}

} // namespace doorsel::test
