#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmMain;
}

namespace doorsel {

// The program's main window.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

private:
    std::unique_ptr<Ui::frmMain> ui;
};

} // namespace doorsel
