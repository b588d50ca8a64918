#pragma once

#include "browse/frmBrowse.h"

#include <QSignalSpy>

namespace doorsel::test {

// Waits, as the opener does, for the browse window's walk to end; false when it never does.
inline bool Loaded(frmBrowse& window)
{
    QSignalSpy loaded(&window, &frmBrowse::loaded);
    return loaded.wait(10000);
}

} // namespace doorsel::test
