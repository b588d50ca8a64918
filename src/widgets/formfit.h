#pragma once

class QWidget;

namespace doorsel {

// What the forms' absolute layouts cannot say for themselves; each window applies both after
// building its form.

// The forms are laid out in 8.25-point text; a form file holds whole points only.
void UseFormTextSize(QWidget& form);

// Fits the controls to their text as the font engine in use measures it: every check box at least
// as tall as the square the style draws (keeping its top; the laid-out height is a line of text,
// which can be a pixel short of the square), and every one-line caption of a label, check box or
// button whose text is wider than its room widened to hold it, on the side its alignment leaves
// free and never past its parent's edge. Where the text fits, as laid out, nothing moves; another
// engine (Windows' measures wider than FreeType) or a face standing in for Tahoma needs more room.
void FitControlsToText(QWidget& form);

} // namespace doorsel
