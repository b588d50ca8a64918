#include "clicklabel.h"

#include "widgets/accessiblefactory.h"
#include "widgets/keyboardaccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

#include <utility>

namespace doorsel {
namespace {

class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(ClickLabel* label)
        : QAccessibleWidget(label, QAccessible::Link)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const ClickLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override { return QStringList {pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<ClickLabel*>(widget())->clicked();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* linkAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("doorsel::ClickLabel"))
        return new LinkAccessible(static_cast<ClickLabel*>(object));
    return nullptr;
}

} // namespace

ClickLabel::ClickLabel(QWidget* parent)
    : QLabel(parent)
{
    InstallAccessibleFactoryOnce<linkAccessible>();
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    // Blue in every state, as a link is; a style sheet would give the label a style of its own.
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    setPalette(blue);
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLabel::mouseDoubleClickEvent(event);
    // A double-click follows the link once, as a web page's link does: its first click did.
    secondClick = event->button() == Qt::LeftButton;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    const bool repeated = std::exchange(secondClick, false);
    // Only a release over the label counts, as with a button: dragging off it takes the click back.
    if (!repeated && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterOrSpace(*event)) {
        // A key held down follows the link once, not once for each repeat.
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace doorsel
