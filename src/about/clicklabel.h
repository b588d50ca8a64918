#pragma once

#include <QLabel>

namespace doorsel {

// A label that acts as a link, as a web address or a "click here" line does: blue, answering a
// click, and in the tab order, where Enter or Space follows it. A screen reader sees a link named
// by its text, which it can follow. The text stays plain text.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool secondClick = false; // the button is down for the second click of a double-click
};

} // namespace doorsel
