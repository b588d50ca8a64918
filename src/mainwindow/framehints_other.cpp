// Without X11 nothing more is needed: on Windows the fixed-size frame and the missing maximise box
// already leave only Move, Minimize and Close to offer.
#include "framehints.h"

namespace doorsel {

void OfferMoveMinimiseAndCloseOnly(QWidget& /*window*/)
{
}

} // namespace doorsel
