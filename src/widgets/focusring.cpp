#include "keyboardaccess.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTabBar>
#include <QWidget>

namespace doorsel {
namespace {

// A ring drawn round the control that has the focus, a pixel clear of it, over everything else in
// its window: the styles' own marks (a dotted line, a pale border) are easily missed. It lies
// outside the control, so it never covers a caption or a picture, and it lets the mouse through.
class FocusRing : public QWidget {
public:
    explicit FocusRing(QWidget& window)
        : QWidget(&window)
    {
        setObjectName(QStringLiteral("focusRing"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* /*old*/, QWidget* now) { follow(now); });
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.setPen(
            QPen(palette().color(QPalette::Highlight), Thickness, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(rect()).adjusted(Thickness / 2.0, Thickness / 2.0, -Thickness / 2.0, -Thickness / 2.0));
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
            place();
        return false;
    }

private:
    static constexpr int Thickness = 2;
    static constexpr int Gap = 1;

    void follow(QWidget* now)
    {
        if (target) {
            target->removeEventFilter(this);
            if (auto* bar = qobject_cast<QTabBar*>(target.data()))
                disconnect(bar, nullptr, this, nullptr);
        }
        target = now != nullptr && now != this && now->window() == window() ? now : nullptr;
        if (!target) {
            hide();
            return;
        }
        target->installEventFilter(this);
        // On a tab bar the focus is on its current tab.
        if (auto* bar = qobject_cast<QTabBar*>(target.data()))
            connect(bar, &QTabBar::currentChanged, this, &FocusRing::place);
        place();
    }

    void place()
    {
        if (!target)
            return;
        QRect area = target->rect();
        if (const auto* bar = qobject_cast<const QTabBar*>(target.data()); bar != nullptr && bar->currentIndex() >= 0)
            area = bar->tabRect(bar->currentIndex());
        constexpr int out = Thickness + Gap;
        setGeometry(QRect(target->mapTo(window(), area.topLeft()), area.size()).adjusted(-out, -out, out, out));
        raise();
        show();
        update();
    }

    QPointer<QWidget> target;
};

} // namespace

void ShowFocusClearly(QWidget& window)
{
    new FocusRing(window);
}

} // namespace doorsel
