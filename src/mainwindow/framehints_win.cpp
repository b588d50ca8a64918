// The frame draws no maximise box and no sizing border, and the window menu holds Move, Minimize, a
// separator and Close: the items a fixed window cannot use (Restore, Size, Maximize) are taken out,
// not just greyed, and so is anything else the system put there.
#include "framehints.h"

#include <QWidget>

#include <windows.h>

namespace doorsel {
namespace {

void KeepMoveMinimiseAndClose(HMENU menu)
{
    for (int at = GetMenuItemCount(menu) - 1; at >= 0; --at) {
        const UINT item = GetMenuItemID(menu, at);
        const bool kept = item == SC_MOVE || item == SC_MINIMIZE || item == SC_CLOSE;
        // The one separator kept is the one right before Close.
        const bool separatorBeforeClose = (GetMenuState(menu, static_cast<UINT>(at), MF_BYPOSITION) & MF_SEPARATOR)
            && at + 1 < GetMenuItemCount(menu) && GetMenuItemID(menu, at + 1) == SC_CLOSE;
        if (!kept && !separatorBeforeClose)
            DeleteMenu(menu, static_cast<UINT>(at), MF_BYPOSITION);
    }
}

} // namespace

void OfferMoveMinimiseAndCloseOnly(QWidget& window)
{
    const auto frame = reinterpret_cast<HWND>(window.winId());
    const LONG_PTR style = GetWindowLongPtrW(frame, GWL_STYLE);
    SetWindowLongPtrW(frame, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX | WS_THICKFRAME));
    SetWindowPos(
        frame, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HMENU menu = GetSystemMenu(frame, FALSE))
        KeepMoveMinimiseAndClose(menu);
}

} // namespace doorsel
