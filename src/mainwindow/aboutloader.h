#pragma once

class QWidget;

namespace doorsel {

class Shell;

// Loads the About module from the program folder on first use and shows its window modally over
// `owner`. A module that is missing or does not load opens no window, and the user is told why.
void ShowAboutFromModule(Shell& shell, QWidget* owner);

} // namespace doorsel
