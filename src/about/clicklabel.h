#pragma once

#include <QLabel>

namespace doorsel {

// A label that answers a click, as a web address or a "click here" line does.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace doorsel
