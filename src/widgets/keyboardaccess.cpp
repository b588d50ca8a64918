#include "keyboardaccess.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

#include <initializer_list>

namespace doorsel {
namespace {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        if (!IsEnter(*static_cast<QKeyEvent*>(event)))
            return false;
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

} // namespace

bool IsEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool IsEnterOrSpace(const QKeyEvent& key)
{
    return IsEnter(key) || (key.key() == Qt::Key_Space && key.modifiers() == Qt::NoModifier);
}

void UseKeyboardAccess(QWidget& window)
{
    auto* enter = new EnterPressesButton(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        // No button stands in for another: Enter elsewhere presses nothing.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(enter);
    }
    ShowFocusClearly(window);
    DescribeWindowsRightly();
}

void SwitchPagesWithKeys(QTabWidget& tabs)
{
    const auto bind = [&tabs](std::initializer_list<QKeyCombination> keys, int step) {
        const auto turn = [&tabs, step] {
            const int count = tabs.count();
            // Selecting the tab is what a click on it does: the window's own handler shows the page.
            if (count > 0)
                tabs.setCurrentIndex((tabs.currentIndex() + step + count) % count);
        };
        for (const QKeyCombination combination : keys) {
            auto* shortcut = new QShortcut(QKeySequence(combination), &tabs);
            QObject::connect(shortcut, &QShortcut::activated, &tabs, turn);
            // The platform may offer one key press as several of these keys; they all mean the same.
            QObject::connect(shortcut, &QShortcut::activatedAmbiguously, &tabs, turn);
        }
    };
    bind({Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown}, 1);
    // Shift+Tab comes as Backtab, with or without Shift, or as Tab with Shift, by platform.
    bind({Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::Key_Backtab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab,
             Qt::CTRL | Qt::Key_PageUp},
        -1);
}

} // namespace doorsel
