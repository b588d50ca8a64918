// What a screen reader is told about the windows themselves, the containers inside them and their
// tab strips, where the toolkit's own description misleads it.
#include "keyboardaccess.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>
#include <QWindow>

namespace doorsel {
namespace {

// One tab of a tab strip. It has the focus only while the strip has it: the toolkit's own tab says
// it is focused whenever it is the current one, so a reader hears the tab while a button is focused.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(QTabBar* strip, int index)
        : strip(strip)
        , index(index)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    bool isValid() const override { return strip && index < strip->count(); }
    QObject* object() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        if (!isValid()) {
            QAccessible::State gone;
            gone.invalid = true;
            return gone;
        }
        QAccessible::State state = parent()->state();
        state.selectable = true;
        state.selected = index == strip->currentIndex();
        state.focused = state.selected && strip->hasFocus();
        return state;
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        return strip->tabRect(index).translated(strip->mapToGlobal(QPoint(0, 0)));
    }
    QString text(QAccessible::Text kind) const override
    {
        if (!isValid() || kind != QAccessible::Name)
            return {};
        const QString name = strip->accessibleTabName(index);
        return name.isEmpty() ? strip->tabText(index).remove(QLatin1Char('&')) : name;
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override { }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(strip.data()); }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (isValid() && action == pressAction())
            strip->setCurrentIndex(index);
    }
    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

    int position() const { return index; }

private:
    QPointer<QTabBar> strip;
    int index;
};

class TabStripAccessible : public QAccessibleWidget {
public:
    explicit TabStripAccessible(QTabBar* strip)
        : QAccessibleWidget(strip, QAccessible::PageTabList)
    {
    }
    ~TabStripAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(tabs))
            QAccessible::deleteAccessibleInterface(id);
    }
    TabStripAccessible(const TabStripAccessible&) = delete;
    TabStripAccessible& operator=(const TabStripAccessible&) = delete;

    int childCount() const override { return strip()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= strip()->count())
            return nullptr;
        if (const QAccessible::Id id = tabs.value(index))
            return QAccessible::accessibleInterface(id);
        auto* tab = new TabAccessible(strip(), index);
        tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child == nullptr || child->role() != QAccessible::PageTab || child->parent() != this)
            return -1;
        return static_cast<const TabAccessible*>(child)->position();
    }
    QAccessibleInterface* focusChild() const override
    {
        return strip()->hasFocus() ? child(strip()->currentIndex()) : nullptr;
    }
    QString text(QAccessible::Text kind) const override
    {
        // The strip is heard by the tab it shows.
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return strip()->tabText(strip()->currentIndex()).remove(QLatin1Char('&'));
        return QAccessibleWidget::text(kind);
    }

private:
    QTabBar* strip() const { return static_cast<QTabBar*>(widget()); }

    mutable QHash<int, QAccessible::Id> tabs;
};

// The notification-area icon that the toolkit draws itself (on an X11 desktop without a status
// notifier host): a button named for the program, pressed as a double-click opens the window.
class TrayIconAccessible : public QAccessibleWidget {
public:
    explicit TrayIconAccessible(QWidget* icon)
        : QAccessibleWidget(icon, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return QApplication::applicationName();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
    void doAction(const QString& action) override
    {
        const bool press = action == pressAction();
        if (!press && action != showMenuAction())
            return;
        // Posted: the icon goes away as the window opens, which it must not do inside this call.
        const QPointF centre = QRectF(widget()->rect()).center();
        const Qt::MouseButton button = press ? Qt::LeftButton : Qt::RightButton;
        QCoreApplication::postEvent(widget(),
            new QMouseEvent(press ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, centre,
                widget()->mapToGlobal(centre), button, button, Qt::NoModifier));
    }
};

// A window keeps its name while minimised or in the tray; the toolkit would give the icon's text,
// which is empty.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? widget()->windowTitle() : text;
    }
};

// The program as a whole, whose windows a reader lists: with the notification-area icon among them.
// The toolkit leaves that icon out once the tray has taken it in as part of its own window.
class ApplicationAccessible : public QAccessibleApplication {
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(trayIcons().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QWidgetList icons = trayIcons();
        return index - windows < icons.size() ? QAccessible::queryAccessibleInterface(icons[index - windows]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const int at = child == nullptr ? -1 : int(trayIcons().indexOf(qobject_cast<QWidget*>(child->object())));
        return at < 0 ? QAccessibleApplication::indexOfChild(child) : QAccessibleApplication::childCount() + at;
    }

private:
    static QWidgetList trayIcons()
    {
        QWidgetList icons;
        const QWindowList windows = QGuiApplication::topLevelWindows();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QSystemTrayIconSys") && widget->isVisible()
                && !windows.contains(widget->windowHandle()))
                icons << widget;
        }
        return icons;
    }
};

QAccessibleInterface* windowParts(const QString& className, QObject* object)
{
    if (object == qApp && className == QLatin1String("QApplication"))
        return new ApplicationAccessible;
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    // A plain widget that is a window is one; the toolkit reports it as a filler, and a screen reader
    // that finds no active window around the focus says nothing.
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new WindowAccessible(widget);
    // A frame inside a window only holds controls together; reported with the toolkit's role, a
    // screen reader takes it for the window itself.
    if (className == QLatin1String("QFrame") && !widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Pane);
    if (className == QLatin1String("QSystemTrayIconSys"))
        return new TrayIconAccessible(widget);
    if (className == QLatin1String("QTabBar"))
        return new TabStripAccessible(static_cast<QTabBar*>(widget));
    return nullptr;
}

} // namespace

void DescribeWindowsRightly()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowParts);
        // The program's own object may have been described already, before the factory was there.
        if (QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
            application != nullptr && dynamic_cast<ApplicationAccessible*>(application) == nullptr)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(application));
        return true;
    }();
    (void)installed;
}

} // namespace doorsel
