#pragma once

class QWidget;

namespace doorsel {

// What the forms' absolute layouts cannot say for themselves; each window applies both after
// building its form.

// The forms are laid out in 8.25-point text; a form file holds whole points only.
void UseFormTextSize(QWidget& form);

// Makes every check box of the form at least as tall as the square the style draws, keeping its
// top: the laid-out height is a line of text, which can be a pixel short of the square.
void FitCheckBoxesToIndicator(QWidget& form);

} // namespace doorsel
