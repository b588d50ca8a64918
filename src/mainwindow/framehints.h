#pragma once

class QWidget;

namespace doorsel {

// Tells the window manager that the window can be moved, minimised and closed, and nothing else:
// no resize handles, no Size, Maximise or Full Screen in its menu. The toolkit's own hints always
// offer resizing, whatever the window's size limits say. Call it after the last change of the
// window's flags, which rewrites those hints.
void OfferMoveMinimiseAndCloseOnly(QWidget& window);

} // namespace doorsel
