#pragma once

#include <QPushButton>

namespace doorsel {

// A push button whose caption wraps onto further lines when it is wider than the button, as the
// main page's tall buttons need for their longer captions. text() stays the caption as set.
class WrapButton : public QPushButton {
    Q_OBJECT

public:
    explicit WrapButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace doorsel
