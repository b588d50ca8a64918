#pragma once

class QWidget;

namespace doorsel {

// What the browse window needs of the window that opened it: setting a logon screen refreshes the
// owner's preview, and the owner's "close browse window" box follows the browse window's.
class BrowseOwner {
public:
    virtual ~BrowseOwner() = default;
    virtual void SetPicture() = 0;
    virtual void SetCloseBrowseBox(int value) = 0;
    // Where messages go once the browse window has closed.
    virtual QWidget* ownerWidget() = 0;
};

} // namespace doorsel
