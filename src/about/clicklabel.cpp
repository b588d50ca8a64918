#include "clicklabel.h"

#include <QMouseEvent>

namespace doorsel {

ClickLabel::ClickLabel(QWidget* parent)
    : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    // Only a release over the label counts, as with a button: dragging off it takes the click back.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace doorsel
