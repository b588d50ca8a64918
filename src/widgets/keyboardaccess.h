#pragma once

class QKeyEvent;
class QTabWidget;
class QWidget;

namespace doorsel {

// What each window does for a user who works it from the keyboard; a window calls these once its
// form is built.

// Enter presses the push button that has the focus, as Space does, in a plain window and a dialog
// alike (a dialog would otherwise give Enter to whichever button it took for its default, and a
// plain window to none), and the control with the focus is ringed clearly enough to find at a
// glance.
void UseKeyboardAccess(QWidget& window);

// Makes a screen reader hear each window as a window and nothing inside it as one, and a tab as
// focused only while its strip has the focus (UseKeyboardAccess does it too).
void DescribeWindowsRightly();

// Rings the control that has the focus in this window (UseKeyboardAccess does it too).
void ShowFocusClearly(QWidget& window);

// Whether the key is Enter (either one, with no modifier), or Enter or Space: what presses a
// button, and what follows a link or opens a picture.
bool IsEnter(const QKeyEvent& key);
bool IsEnterOrSpace(const QKeyEvent& key);

// Ctrl+Tab and Ctrl+PageDown show the next page of the tab widget, Ctrl+Shift+Tab and Ctrl+PageUp
// the one before, wrapping round, from anywhere in its window: the pages are frames laid over the
// tab widget rather than its children, so its own handling of those keys never sees them.
void SwitchPagesWithKeys(QTabWidget& tabs);

} // namespace doorsel
