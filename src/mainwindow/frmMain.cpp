#include "frmMain.h"

#include "ui_frmMain.h"

namespace doorsel {

frmMain::frmMain(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::frmMain>())
{
    ui->setupUi(this);
}

frmMain::~frmMain() = default;

} // namespace doorsel
