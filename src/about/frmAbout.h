#pragma once

#include "about/transfer.h"

#include <QDialog>

#include <array>
#include <memory>

class QFrame;

namespace Ui {
class frmAbout;
}

namespace doorsel {

class Shell;

// The About window: version and release date, the update check, contact details and, on its second
// tab, the links list from the product's web server. Made anew for each opening:
//     frmAbout dialog(shell, owner);
//     dialog.exec();
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(Shell& shell, QWidget* parent = nullptr);
    ~frmAbout() override;

    // The 1-based number of the tab whose page is shown.
    int CurrentFrame() const { return currentFrame; }

    // The window's transfer control `Inet1`.
    Transfer& Inet1() { return inet; }

    // Closing ends a fetch in progress instead of waiting for it.
    void done(int result) override;

private:
    void Form_Load();
    void tabsAbout_Click();
    void btnCheckForUpdate_Click();
    void btnUpdateLinks_Click();
    void Label11_Click();
    void labelClickToDownload_Click();
    void btnClose_Click();

    std::unique_ptr<Ui::frmAbout> ui;
    Shell& shell;
    Transfer inet;
    std::array<QFrame*, 2> frameAbout {};
    int currentFrame = 1;
};

// Opens the About window modally over `owner` and returns when it closes.
void ShowAbout(Shell& shell, QWidget* owner);

} // namespace doorsel
