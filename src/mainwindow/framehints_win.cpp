// The frame draws no maximise box and no sizing border, and the window menu offers Move, Minimize
// and Close only: the items a fixed window cannot use (Restore, Size, Maximize) are taken out, not
// just greyed, and the separator before Close stays.
#include "framehints.h"

#include <QWidget>

#include <windows.h>

namespace doorsel {

void OfferMoveMinimiseAndCloseOnly(QWidget& window)
{
    const auto frame = reinterpret_cast<HWND>(window.winId());
    const LONG_PTR style = GetWindowLongPtrW(frame, GWL_STYLE);
    SetWindowLongPtrW(frame, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX | WS_THICKFRAME));
    SetWindowPos(
        frame, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HMENU menu = GetSystemMenu(frame, FALSE)) {
        for (const UINT item : {SC_RESTORE, SC_SIZE, SC_MAXIMIZE})
            DeleteMenu(menu, item, MF_BYCOMMAND);
    }
}

} // namespace doorsel
